#include "viewers/image/CropFrame.h"

#include <QPainter>

QRect CropFrame::drag(QPoint at, QSize size)
{
    if (!started())
        return m_frame;
    const int left = std::clamp(std::min(m_anchor.x(), at.x()), 0, size.width());
    const int top = std::clamp(std::min(m_anchor.y(), at.y()), 0, size.height());
    const int right = std::clamp(std::max(m_anchor.x(), at.x()), 0, size.width());
    const int bottom = std::clamp(std::max(m_anchor.y(), at.y()), 0, size.height());
    m_frame = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return m_frame;
}

void CropFrame::selectAll(QSize size)
{
    m_frame = QRect(QPoint(0, 0), size);
    m_anchor = kNone;
}

void CropFrame::clear()
{
    m_anchor = kNone;
    m_frame = QRect();
}

QImage CropFrame::copyOf(const QImage& picture) const
{
    if (!started() || m_frame.isEmpty())
        return picture;
    return picture.copy(m_frame);
}

QImage CropFrame::drawnOn(const QImage& picture) const
{
    if (m_frame.isEmpty())
        return picture;
    QImage drawn = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&drawn);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(m_frame.adjusted(0, 0, -1, -1));
    return drawn;
}
