#pragma once
// The about box: the program file (name, date, type and size), the version text, the system,
// the login, the time zone, the host and its address (looked up without blocking the
// window), and memory and processor figures updated every 500 ms.

#include <QDialog>

class QLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const QString& programFile, const QString& versionText, QWidget* parent = nullptr);

    QLabel* liveLabel() const { return m_live; }
    QLabel* hostLabel() const { return m_host; }
    void Timer1Timer();

private:
    void lookUpHost();

    QLabel* m_host = nullptr;
    QLabel* m_live = nullptr;
};
