#pragma once
// Dragging a folder out of the tree or the tab strip to other programs: copy only, and
// never a drive root or "My Computer".

#include <QPoint>
#include <QString>

class QMouseEvent;
class QWidget;

class FolderDrag {
public:
    // Remembers where a press happened.
    void pressed(const QPoint& position) { m_start = position; m_armed = true; }
    // Starts the drag of `folder` once the mouse moved far enough with the left button held.
    void moved(QWidget* source, const QMouseEvent* event, const QString& folder, bool isDriveRoot);

private:
    QPoint m_start;
    bool m_armed = false;
};
