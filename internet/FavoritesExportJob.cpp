#include "internet/FavoritesExportJob.h"

#include "internet/FavoritesFolder.h"
#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include <sys/stat.h>

namespace {

qint64 modifiedSeconds(const QString& path)
{
    struct stat st {};
    return ::stat(FileName::encode(path).constData(), &st) == 0 ? qint64(st.st_mtim.tv_sec) : 0;
}

} // namespace

FavoritesExportJob::FavoritesExportJob(const QString& favorites, const QString& target)
    : m_favorites(favorites)
    , m_target(target)
{
    m_tree.isFolder = true;
    m_tree.title = QStringLiteral("Favorites");
}

QString FavoritesExportJob::summary() const
{
    return QStringLiteral("Exported %1 to %2.").arg(FavoritesFolder::countText(m_links), m_target);
}

bool FavoritesExportJob::plan()
{
    // The file replaces what is at the target: only ever a file (not a device, a pipe or a
    // folder).
    if (LocalFiles::exists(m_target) && !LocalFiles::isFile(m_target)) {
        setError(QStringLiteral("Cannot export to %1: it is not a file.").arg(m_target));
        return false;
    }
    if (!collect(m_favorites, m_tree, 0))
        return false;
    addTotal(1);
    return true;
}

void FavoritesExportJob::execute()
{
    setCurrentItem(m_target);
    const Status written = AtomicFile::replace(FileName::encode(m_target), BookmarkFile::write(m_tree), 0644);
    if (!written) {
        setError(QStringLiteral("Cannot export to %1: %2.").arg(m_target, written.errorString()));
        return;
    }
    itemDone();
}

bool FavoritesExportJob::collect(const QString& folder, BookmarkNode& node, int depth)
{
    for (const FavoriteItem& item : FavoritesFolder::items(folder, int(BookmarkFile::kMaxEntries))) {
        if (isCancelled())
            return false;
        if (!item.isFolder && item.address.isEmpty())
            continue;
        if (++m_entries > BookmarkFile::kMaxEntries) {
            setError(QStringLiteral("Cannot export %1: it holds more than %2 entries.").arg(m_favorites).arg(BookmarkFile::kMaxEntries));
            return false;
        }
        BookmarkNode entry{item.name, item.address, modifiedSeconds(item.path), item.isFolder, {}};
        const bool enter = item.isFolder && depth + 1 < BookmarkFile::kMaxDepth && !LocalFiles::isSymLink(item.path);
        if (enter && !collect(item.path, entry, depth + 1))
            return false;
        m_links += item.isFolder ? 0 : 1;
        node.children.push_back(std::move(entry));
    }
    return true;
}
