#include "browse/FolderDrag.h"

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

void FolderDrag::moved(QWidget* source, const QMouseEvent* event, const QString& folder, bool isDriveRoot)
{
    if (!m_armed || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - m_start).manhattanLength() < QApplication::startDragDistance())
        return;
    m_armed = false;
    if (isDriveRoot || !QFileInfo(folder).isDir())
        return;
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(folder)});
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}
