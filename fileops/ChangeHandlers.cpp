#include "fileops/ChangeHandlers.h"

#include "platform/PathText.h"

namespace ChangeHandlers {

namespace {

bool isListed(const QString& path, const Shown& shown)
{
    return !path.isEmpty() && PathText::withTrailingSlash(PathText::folderOf(path)) == shown.listFolder;
}

// The current folder is path or lies below it: it may be gone.
bool holdsCurrent(const QString& path, const Shown& shown)
{
    return !path.isEmpty() && shown.currentFolder.startsWith(PathText::withTrailingSlash(path));
}

void folderMovedOrMade(Decision& d, const QString& path, const Shown& shown)
{
    if (path.isEmpty())
        return;
    d.treeFolders.append(PathText::folderOf(path));
    if (isListed(path, shown))
        d.level = RefreshLevel::ListOnly;
    d.freeSpace = true;
}

} // namespace

Decision decide(const ChangeNotice& notice, const Shown& shown)
{
    Decision d;
    switch (notice.event) {
    case ChangeEvent::Create:
    case ChangeEvent::Delete:
    case ChangeEvent::UpdateItem:
    case ChangeEvent::Attributes:
    case ChangeEvent::RenameItem:
        if (isListed(notice.path, shown) || isListed(notice.path2, shown)) {
            d.level = RefreshLevel::ListOnly;
            d.freeSpace = notice.event != ChangeEvent::Attributes;
        }
        break;
    case ChangeEvent::MakeFolder:
        folderMovedOrMade(d, notice.path, shown);
        break;
    case ChangeEvent::RemoveFolder:
    case ChangeEvent::RenameFolder:
        if (holdsCurrent(notice.path, shown)) {
            d.level = RefreshLevel::Full;
            d.freeSpace = true;
            break;
        }
        folderMovedOrMade(d, notice.path, shown);
        folderMovedOrMade(d, notice.path2, shown);
        d.treeFolders.removeDuplicates();
        break;
    case ChangeEvent::UpdateDir:
        d.freeSpace = true;
        if (notice.path == QLatin1String("/")) {
            d.level = RefreshLevel::Full;
            break;
        }
        d.treeFolders.append(notice.path);
        if (PathText::withTrailingSlash(notice.path) == shown.listFolder)
            d.level = RefreshLevel::ListOnly;
        break;
    case ChangeEvent::DriveAdd:
    case ChangeEvent::DriveRemove:
    case ChangeEvent::MediaInsert:
    case ChangeEvent::MediaRemove:
        d.level = RefreshLevel::Full;
        d.freeSpace = true;
        break;
    case ChangeEvent::FreeSpace:
        d.freeSpace = true;
        break;
    case ChangeEvent::AllEvents:
        break;
    }
    return d;
}

} // namespace ChangeHandlers
