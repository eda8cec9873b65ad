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
    if (!currentItem.isEmpty() && item.isAbsolute() && item.exists())
        return item.isDir() ? QDir::cleanPath(item.absoluteFilePath()) : item.absolutePath();
    const QString nearest = nearestExisting(currentPath);
    return nearest.isEmpty() ? QDir::homePath() : nearest;
}
