#include "app/RecentPaths.h"

#include "platform/PathText.h"

#include <QFileInfo>

void RecentPaths::update(QStringList& paths, const QString& currentFolder,
                         const std::function<bool(const QString&)>& folderExists)
{
    QStringList kept;
    for (const QString& path : std::as_const(paths)) {
        if (!kept.contains(path) && folderExists(path))
            kept.append(path);
    }
    const QString current = normalized(currentFolder);
    if (!current.isEmpty() && !kept.contains(current))
        kept.prepend(current);
    paths = kept.mid(0, kLimit);
}

QString RecentPaths::normalized(const QString& folder)
{
    return PathText::withoutTrailingSlash(folder);
}

bool RecentPaths::isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}
