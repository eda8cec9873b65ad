#pragma once
// The crop frame the user drags on a picture: pressing sets the anchor, dragging with the
// left button spans the frame from the anchor to the pointer, normalised (left <= right,
// top <= bottom) and limited to the picture. Copy takes the framed part, or the whole
// picture when no drag was started (Select All frames the whole picture and resets the
// anchor, so the whole picture is copied too).

#include <QImage>
#include <QPoint>
#include <QRect>

class CropFrame {
public:
    void press(QPoint at) { m_anchor = at; }
    // The frame from the anchor to at, within a picture of size; kept as the frame.
    QRect drag(QPoint at, QSize size);
    void selectAll(QSize size);
    void clear();

    bool started() const { return m_anchor != kNone; }
    // Empty when none is drawn.
    QRect frame() const { return m_frame; }
    // What Copy puts on the clipboard.
    QImage copyOf(const QImage& picture) const;
    // The picture with the frame drawn on it as a dotted line that inverts what lies under
    // it, so it shows on every colour.
    QImage drawnOn(const QImage& picture) const;

private:
    static constexpr QPoint kNone {-1, -1};
    QPoint m_anchor = kNone;
    QRect m_frame;
};
