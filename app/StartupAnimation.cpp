#include "app/StartupAnimation.h"

#include <QEventLoop>
#include <QPalette>
#include <QVariantAnimation>
#include <QWidget>

void StartupAnimation::run(const QRect& target)
{
    QWidget frame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    frame.setAutoFillBackground(true);
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Highlight));
    frame.setPalette(palette);

    QVariantAnimation grow;
    grow.setDuration(kDurationMs);
    grow.setStartValue(QRect(target.center(), QSize(1, 1)));
    grow.setEndValue(target);
    grow.setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(&grow, &QVariantAnimation::valueChanged, &frame,
                     [&frame](const QVariant& value) { frame.setGeometry(value.toRect()); });
    QEventLoop loop;
    QObject::connect(&grow, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
    frame.setGeometry(grow.startValue().toRect());
    frame.show();
    grow.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
