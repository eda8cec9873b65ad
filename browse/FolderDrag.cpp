#include "browse/FolderDrag.h"

#include "browse/OwnDrag.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

QMimeData* FolderDrag::dragData(const QString& folder, bool isDriveRoot)
{
    if (isDriveRoot || folder.isEmpty() || !LocalFiles::isDir(folder))
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls({FileName::toUrl(folder)});
    OwnDrag::mark(data);
    return data;
}

bool FolderDrag::reachedDistance(const QPoint& position, Qt::MouseButtons buttons) const
{
    return m_armed && (buttons & Qt::LeftButton) && (position - m_start).manhattanLength() >= QApplication::startDragDistance();
}

void FolderDrag::moved(QWidget* source, const QMouseEvent* event, const QString& folder, bool isDriveRoot)
{
    if (!reachedDistance(event->position().toPoint(), event->buttons()))
        return;
    m_armed = false;
    QMimeData* data = dragData(folder, isDriveRoot);
    if (!data)
        return;
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}
