#include "internet/FavoritesFolder.h"

#include "internet/InternetShortcut.h"
#include "internet/WebAddress.h"
#include "platform/LocalFiles.h"
#include "platform/Shell.h"

#include <algorithm>

namespace {

bool isShortcut(const QString& name, const char* ext)
{
    return name.endsWith(QLatin1String(ext), Qt::CaseInsensitive) && name.size() > int(qstrlen(ext));
}

} // namespace

QList<FavoriteItem> FavoritesFolder::items(const QString& folder, int limit)
{
    QList<FavoriteItem> found;
    for (const QString& name : LocalFiles::entryNames(folder)) {
        if (name.startsWith(QLatin1Char('.')))
            continue;
        const QString path = folder + QLatin1Char('/') + name;
        const bool isFolder = LocalFiles::isDir(path);
        found.append({displayName(name), path, isFolder, isFolder ? QString() : addressOf(path)});
        if (found.size() >= limit)
            break;
    }
    std::sort(found.begin(), found.end(), [](const FavoriteItem& a, const FavoriteItem& b) {
        if (a.isFolder != b.isFolder)
            return a.isFolder;
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return found;
}

QString FavoritesFolder::caption(const QString& name, int maxWidth)
{
    if (name.size() <= maxWidth)
        return name;
    // A character outside the basic plane is never cut in half.
    int cut = qMax(0, maxWidth);
    if (cut > 0 && name.at(cut - 1).isHighSurrogate())
        --cut;
    return name.left(cut) + QStringLiteral("...");
}

QString FavoritesFolder::addressOf(const QString& path)
{
    if (isShortcut(path, ".url"))
        return InternetShortcut::read(path);
    if (isShortcut(path, ".desktop"))
        return ShortcutTarget(path);
    return WebAddress::forLocalFile(path);
}

QString FavoritesFolder::displayName(const QString& fileName)
{
    return isShortcut(fileName, ".url") ? fileName.chopped(4) : fileName;
}

QString FavoritesFolder::countText(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 favorite") : QStringLiteral("%1 favorites").arg(count);
}
