#pragma once
// The splash window shown from the start of the program until the main window is first
// shown: a black panel with the program's name and the progress label Label1, which names
// each entry the first listing examines.

#include <QWidget>

class QLabel;

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 493;
    static constexpr int kHeight = 234;

    explicit TSplashForm(QWidget* parent = nullptr);

    // WM_LOADPROGRESS: count entries listed so far, name the entry just examined.
    void loadProgress(int count, const QString& name);

    QLabel* Label1() const { return m_label1; }

    // Shows the window centred on the screen and paints it at once.
    void showNow();

private:
    QLabel* m_label1;
};
