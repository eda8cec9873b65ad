#pragma once
// The "Calendar" window: a month calendar, a digital and an analogue clock, a link to a
// world clock page, and the year calendar of the shown year printed or saved as text.

#include <QDialog>
#include <QFont>

class QCalendarWidget;
class QLabel;
class QPushButton;

class TCalForm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kWorldClockAddress = "https://www.timeanddate.com/worldclock/";

    // folder: where the year calendar is proposed to be saved.
    explicit TCalForm(const QString& folder, QWidget* parent = nullptr);

    int year() const;
    QCalendarWidget* calendar() const { return m_calendar; }

private:
    void buildControls();
    void colourCalendar();
    void updateYearButtons();
    void tickClock();
    void SpeedButton1Click();
    void buttonprintyearClick();
    void buttonfileyearClick();

    QString m_folder;
    QFont m_printerFont;
    QCalendarWidget* m_calendar = nullptr;
    QLabel* m_digital = nullptr;
    QPushButton* m_printYear = nullptr;
    QPushButton* m_fileYear = nullptr;
};
