#include "internet/FavoritesImportJob.h"

#include "internet/FavoriteFile.h"
#include "internet/FavoritesFolder.h"
#include "internet/InternetShortcut.h"
#include "internet/WebAddress.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr int kMaxNameTries = 1000;

// "name", then "name (2)", "name (3)", ... with the extension after the number.
QString candidate(const QString& folder, const QString& stem, int number, QLatin1String extension)
{
    const QString suffix = number > 1 ? QStringLiteral(" (%1)").arg(number) : QString();
    return folder + QLatin1Char('/') + stem + suffix + extension;
}

QString namesTaken(const QString& stem, const QString& folder)
{
    return QStringLiteral("Cannot add %1 to %2: every name up to \"%1 (%3)\" is taken.").arg(stem, folder).arg(kMaxNameTries);
}

QString stemOrUntitled(const QString& stem)
{
    return stem.isEmpty() ? QStringLiteral("Untitled") : stem;
}

} // namespace

FavoritesImportJob::FavoritesImportJob(const QString& source, const QString& favorites)
    : m_source(source)
    , m_favorites(favorites)
{
}

QString FavoritesImportJob::summary() const
{
    QString text = QStringLiteral("Imported %1 from %2.").arg(FavoritesFolder::countText(m_added), m_source);
    if (m_duplicates > 0)
        text += QStringLiteral("\r\nAlready in Favorites and left as they were: %1.").arg(m_duplicates);
    if (m_refused > 0)
        text += QStringLiteral("\r\nLeft out, not an http, https or file address: %1.").arg(m_refused);
    return text;
}

bool FavoritesImportJob::plan()
{
    Result<BookmarkNode> tree = BookmarkFile::read(m_source);
    if (!tree) {
        setError(tree.errorString());
        return false;
    }
    m_tree = *tree;
    addTotal(m_tree.count());
    return true;
}

void FavoritesImportJob::execute()
{
    if (!LocalFiles::makePath(m_favorites)) {
        setError(QStringLiteral("Cannot create the favorites folder %1.").arg(m_favorites));
        return;
    }
    merge(m_tree, m_favorites);
}

void FavoritesImportJob::merge(const BookmarkNode& from, const QString& folder)
{
    QSet<QString> known;
    for (const FavoriteItem& item : FavoritesFolder::items(folder, int(BookmarkFile::kMaxEntries))) {
        if (!item.isFolder)
            known.insert(item.address);
    }
    for (const BookmarkNode& child : from.children) {
        if (stopped())
            return;
        setCurrentItem(child.title);
        if (!child.isFolder) {
            addLink(child, folder, known);
            continue;
        }
        const QString sub = folderFor(child, folder);
        if (!sub.isEmpty())
            merge(child, sub);
    }
}

QString FavoritesImportJob::folderFor(const BookmarkNode& node, const QString& parent)
{
    const QString stem = stemOrUntitled(FavoriteFile::safeName(node.title));
    for (int number = 1; number <= kMaxNameTries; ++number) {
        const QString path = candidate(parent, stem, number, QLatin1String());
        if (LocalFiles::isDir(path)) {
            itemDone();
            return path;
        }
        if (LocalFiles::entryExists(path))
            continue;
        QString made;
        settleItem(FileName::encode(path), [&] {
            if (!LocalFiles::makeFolder(path)) {
                setError(QStringLiteral("Cannot create the folder %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
                return false;
            }
            made = path;
            itemDone();
            return true;
        });
        return made;
    }
    setError(namesTaken(stem, parent));
    return QString();
}

void FavoritesImportJob::addLink(const BookmarkNode& link, const QString& folder, QSet<QString>& known)
{
    if (!WebAddress::isAllowed(link.address) || InternetShortcut::text(link.address).isEmpty()) {
        ++m_refused;
        itemDone();
        return;
    }
    if (known.contains(link.address)) {
        ++m_duplicates;
        itemDone();
        return;
    }
    const Result<QString> name = FavoriteFile::nameFor(link.title, link.address);
    const QString stem = stemOrUntitled(name ? name->chopped(4) : QString());
    for (int number = 1; number <= kMaxNameTries; ++number) {
        const QString path = candidate(folder, stem, number, QLatin1String(".url"));
        if (LocalFiles::entryExists(path))
            continue;
        settleItem(FileName::encode(path), [&] {
            const Status created = FavoriteFile::create(path, link.address, link.added);
            if (!created) {
                setError(created.errorString());
                return false;
            }
            ++m_added;
            known.insert(link.address);
            itemDone();
            return true;
        });
        return;
    }
    setError(namesTaken(stem, folder));
}
