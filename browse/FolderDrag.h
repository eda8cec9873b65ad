#pragma once
// Dragging a folder out of the tree or the tab strip to other programs: copy only, and
// never a drive root or "My Computer".

#include <QPoint>
#include <QString>

class QMimeData;
class QMouseEvent;
class QWidget;

class FolderDrag {
public:
    // Remembers where a press happened.
    void pressed(const QPoint& position) { m_start = position; m_armed = true; }
    // Starts the drag of `folder` once the mouse moved far enough with the left button held.
    void moved(QWidget* source, const QMouseEvent* event, const QString& folder, bool isDriveRoot);

    // The data of a drag of `folder`, or null when it may not be dragged.
    static QMimeData* dragData(const QString& folder, bool isDriveRoot);
    // Whether the mouse, held down since the press, has moved far enough to start a drag.
    bool reachedDistance(const QPoint& position, Qt::MouseButtons buttons) const;

private:
    QPoint m_start;
    bool m_armed = false;
};
