#pragma once
// The calendar window's analogue clock (OvcClock2): a round face with hour marks and three
// hands, redrawn every second.

#include <QTime>
#include <QWidget>

class AnalogClock : public QWidget {
public:
    explicit AnalogClock(QWidget* parent = nullptr);
    // The time shown; an invalid time follows the clock of the machine.
    void setTime(const QTime& time);
    QSize sizeHint() const override { return {140, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTime m_time;
};
