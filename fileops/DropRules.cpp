#include "fileops/DropRules.h"

#include "platform/PathText.h"

namespace DropRules {

namespace {

// path is folder or lies below it (byte comparison).
bool isSameOrBelow(const QString& path, const QString& folder)
{
    const QString bare = PathText::withoutTrailingSlash(folder);
    return path == bare || path.startsWith(PathText::withTrailingSlash(bare));
}

} // namespace

QString acceptedTarget(const QString& folder, bool hiddenOrUnreadable, bool isDriveRoot)
{
    if (folder.isEmpty() || (hiddenOrUnreadable && !isDriveRoot))
        return {};
    return PathText::withoutTrailingSlash(folder);
}

QString hoverCaption(Pane pane, const QString& target)
{
    return (pane == Pane::Tabs ? QStringLiteral("Copy to ") : QStringLiteral("Copy to  ")) + target;
}

Plan plan(const Drop& drop, const std::function<bool(const QString&)>& exists)
{
    Plan result;
    if (drop.target.isEmpty() || drop.dropped.isEmpty())
        return result;
    const QString target = PathText::withoutTrailingSlash(drop.target);
    const QString first = PathText::withoutTrailingSlash(drop.dropped.first());
    if (first == target)
        return result; // a folder dropped on itself
    if (drop.pane == Pane::List && PathText::withTrailingSlash(target) == drop.listFolder)
        return result; // on the folder the list shows: the items are there already
    result.announce = true;
    result.into = PathText::withTrailingSlash(target);
    for (const QString& dropped : drop.dropped) {
        const QString path = PathText::withoutTrailingSlash(dropped);
        // Onto itself or into its own subfolder; a move into the folder that holds it already
        // has nothing to do (the drop menu's copy there makes a copy beside it).
        const bool inPlace = PathText::folderOf(path) == target && !drop.rightButton;
        if (path.isEmpty() || isSameOrBelow(target, path) || inPlace || !exists(path))
            continue;
        result.sources << path;
    }
    if (!result.sources.isEmpty())
        result.action = drop.rightButton ? Action::AskMenu : Action::Move;
    return result;
}

QString streamFileName(const QString& suggested)
{
    QString name = PathText::nameOf(suggested);
    name.remove(QChar(0));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}

} // namespace DropRules
