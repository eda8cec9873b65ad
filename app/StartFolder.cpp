#include "app/StartFolder.h"

#include <QDir>
#include <QFileInfo>

QString StartFolder::nearestExisting(const QString& path)
{
    if (path.isEmpty() || QDir::isRelativePath(path))
        return QString();
    QString candidate = QDir::cleanPath(path);
    for (;;) {
        if (QFileInfo(candidate).isDir())
            return candidate;
        const QString parent = QFileInfo(candidate).path();
        if (parent == candidate)
            return QString();
        candidate = parent;
    }
}

QString StartFolder::resolve(const QString& currentItem, const QString& currentPath)
{
    const QFileInfo item(currentItem);
    const QString nearest = nearestExisting(currentPath);
    // An item selected in the stored folder (a file or a subfolder) reopens that folder.
    if (!nearest.isEmpty() && item.isAbsolute() && item.exists() && QFileInfo(QDir::cleanPath(currentItem)).path() == nearest)
        return nearest;
    if (!currentItem.isEmpty() && item.isAbsolute() && item.exists())
        return item.isDir() ? QDir::cleanPath(item.absoluteFilePath()) : item.absolutePath();
    return nearest.isEmpty() ? QDir::homePath() : nearest;
}
