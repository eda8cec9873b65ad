#include "media/ui/TRunningText.h"

#include "media/DurationText.h"

#include <QPainter>
#include <QPixmap>

TRunningText::TRunningText(QWidget* parent)
    : QWidget(parent)
{
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &TRunningText::tick);
}

void TRunningText::setCaption(const QString& text)
{
    if (m_caption == text)
        return;
    m_caption = text;
    update();
}

void TRunningText::setActive(bool on)
{
    m_step = 0;
    m_pass = 0;
    if (m_active == on)
        return;
    m_active = on;
    if (on)
        m_timer.start();
    else {
        m_timer.stop();
        update();
    }
}

void TRunningText::setSpeed(int ms)
{
    m_timer.setInterval(qBound(1, ms, 1000));
}

void TRunningText::tick()
{
    if (m_pass >= m_numRepeat && !m_continuous) {
        setActive(false);
        return;
    }
    if (++m_step >= m_steps) {
        m_step = 0;
        if (!m_continuous)
            ++m_pass;
    }
    update();
}

QSize TRunningText::textSize() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_caption) + 2, metrics.height() + 2);
}

int TRunningText::offset() const
{
    const QSize text = textSize();
    const double f = double(m_step) / m_steps;
    const auto round = [](double v) { return int(media::roundHalfEven(v)); };
    if (!m_active)
        return 0;
    switch (m_direct) {
    case TDirect::diLeftToRight: return round((width() + text.width()) * f) - text.width();
    case TDirect::diRightToLeft: return round((1 - f) * (width() + text.width())) - text.width();
    case TDirect::diTopToBottom: return round(f * (height() + text.height())) - text.height();
    case TDirect::diBottomToTop: return round((1 - f) * (height() + text.height())) - text.height();
    }
    return 0;
}

QSize TRunningText::sizeHint() const
{
    return QSize(100, textSize().height() + 2);
}

void TRunningText::paintEvent(QPaintEvent*)
{
    const QSize text = textSize();
    if (m_autoActive && (text.width() > width()) != m_active)
        setActive(text.width() > width());
    const bool horizontal = m_direct == TDirect::diLeftToRight || m_direct == TDirect::diRightToLeft;
    int x = 0;
    int y = (height() - text.height()) / 2;
    if (m_active && horizontal)
        x = offset();
    else if (m_active)
        y = offset();
    // Drawn off screen first, so a scrolling caption never flickers.
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    buffer.fill(palette().color(QPalette::Window));
    QPainter painter(&buffer);
    painter.setFont(font());
    const QRect area(x, y, text.width(), text.height());
    if (m_style != TStyleLabel::slNormal) {
        painter.setPen(palette().color(m_style == TStyleLabel::slLowered ? QPalette::Light : QPalette::Dark));
        painter.drawText(area.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    painter.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}
