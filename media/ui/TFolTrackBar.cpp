#include "media/ui/TFolTrackBar.h"

#include <QEvent>
#include <QPainter>

TFolTrackBar::TFolTrackBar(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    // Room for the text above the groove.
    setMinimumHeight(fontMetrics().height() + 16);
}

void TFolTrackBar::setLabels(bool on)
{
    if (m_labels == on)
        return;
    m_labels = on;
    update();
}

void TFolTrackBar::setLabelText(const QString& text)
{
    if (m_labelText == text)
        return;
    m_labelText = text;
    update();
}

void TFolTrackBar::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (!m_labels || !isEnabled() || m_labelText.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect line(0, 4, width(), fontMetrics().height());
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop, m_labelText);
}

void TFolTrackBar::changeEvent(QEvent* event)
{
    QSlider::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}
