#include "app/StartFolder.h"

#include "browse/BrowseNavigator.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"

#include <QDir>

QString StartFolder::resolve(const QString& currentItem, const QString& currentPath)
{
    const QString nearest = BrowseNavigator::nearestExisting(currentPath);
    const QString item = QDir::cleanPath(currentItem);
    const bool itemExists = !currentItem.isEmpty() && QDir::isAbsolutePath(item) && LocalFiles::exists(item);
    // An item selected in the stored folder (a file or a subfolder) reopens that folder.
    if (itemExists && !nearest.isEmpty() && PathText::folderOf(item) == nearest)
        return nearest;
    if (itemExists)
        return LocalFiles::isDir(item) ? item : PathText::folderOf(item);
    return nearest.isEmpty() ? QDir::homePath() : nearest;
}
