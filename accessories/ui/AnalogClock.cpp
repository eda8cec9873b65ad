#include "accessories/ui/AnalogClock.h"

#include <QPainter>
#include <QTimer>

namespace {

void drawHand(QPainter& p, double degrees, double length, double width, const QColor& colour)
{
    p.save();
    p.rotate(degrees);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 8), QPointF(0, -length));
    p.restore();
}

} // namespace

AnalogClock::AnalogClock(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("OvcClock2"));
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    timer->start(1000);
}

void AnalogClock::setTime(const QTime& time)
{
    m_time = time;
    update();
}

void AnalogClock::paintEvent(QPaintEvent*)
{
    const QTime now = m_time.isValid() ? m_time : QTime::currentTime();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);
    p.setPen(QPen(Qt::darkGray, 3));
    p.setBrush(QColor(250, 248, 235));
    p.drawEllipse(QPointF(0, 0), 96, 96);
    for (int mark = 0; mark < 60; ++mark) {
        p.setPen(QPen(Qt::black, mark % 5 == 0 ? 4 : 1));
        p.drawLine(QPointF(0, mark % 5 == 0 ? -78 : -84), QPointF(0, -90));
        p.rotate(6);
    }
    const double seconds = now.second();
    const double minutes = now.minute() + seconds / 60.0;
    const double hours = now.hour() % 12 + minutes / 60.0;
    drawHand(p, hours * 30, 50, 7, Qt::black);
    drawHand(p, minutes * 6, 74, 4, Qt::black);
    drawHand(p, seconds * 6, 82, 1.5, Qt::red);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(0, 0), 4, 4);
}
