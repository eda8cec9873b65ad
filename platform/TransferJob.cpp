#include "platform/TransferJob.h"

#include "platform/DirStream.h"
#include "platform/FileDescriptor.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/TransferFaults.h"
#include "platform/Trash.h"
#include "platform/linux/FileCopier.h"

#include <QDateTime>


#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QThread>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

using PathText::folderOf;
using PathText::joined;
using PathText::nameOf;

QByteArray native(const QString& path)
{
    return FileName::encode(LocalFiles::absolutePath(path));
}

// The path as the program carries it; messages show it through the Prompter's display form.
QString shown(const QByteArray& path)
{
    return FileName::decode(path);
}

bool lstatOf(const QByteArray& path, struct stat* st)
{
    return ::lstat(path.constData(), st) == 0;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether folder (or the nearest existing folder above it) is the folder src or lies in it.
// The existing part is resolved first: a linked folder that leads into src counts as inside.
bool isInside(const QByteArray& folder, const struct stat& src)
{
    QByteArray at = folder;
    struct stat exists {};
    while (at.size() > 1 && ::stat(at.constData(), &exists) != 0)
        at = folderOf(at);
    if (char* real = ::realpath(at.constData(), nullptr)) {
        at = real;
        ::free(real);
    }
    for (;;) {
        struct stat st {};
        if (::stat(at.constData(), &st) == 0 && sameFile(st, src))
            return true;
        if (at == "/" || at == ".")
            return false;
        at = folderOf(at);
    }
}

// Whether the folder holding path is the folder into (device and inode: a linked path to the
// same folder counts).
bool liesIn(const QByteArray& path, const struct stat& into)
{
    struct stat folder {};
    return ::stat(folderOf(path).constData(), &folder) == 0 && sameFile(folder, into);
}

// The n-th name for a copy beside its source: "report - Copy.txt", "report - Copy (2).txt".
// A folder, a name without an extension and a dot file (".bashrc") take the words at the end.
QByteArray copyName(const QByteArray& name, bool folder, int n)
{
    QByteArray mark = " - Copy";
    if (n > 1)
        mark += " (" + QByteArray::number(n) + ')';
    const qsizetype dot = folder ? -1 : name.lastIndexOf('.');
    if (dot <= 0)
        return name + mark;
    return name.left(dot) + mark + name.mid(dot);
}

// Copies of one source beside it are numbered up to this before the copy gives up.
constexpr int maxCopyNumber = 9999;

QString verbOf(FileOperationKind kind)
{
    switch (kind) {
    case FileOperationKind::Copy: return QStringLiteral("Cannot copy");
    case FileOperationKind::Move: return QStringLiteral("Cannot move");
    case FileOperationKind::Delete: return QStringLiteral("Cannot delete");
    case FileOperationKind::Rename: return QStringLiteral("Cannot rename");
    }
    return QString();
}

std::vector<QByteArray> childrenOf(const QByteArray& folder, int* error)
{
    DirStream dir(folder);
    *error = dir.error();
    return dir.sortedNames();
}

} // namespace

TransferJob::TransferJob(FileOperationKind kind, QStringList sources, QStringList targets, FileOperationFlags flags)
    : m_kind(kind), m_sources(std::move(sources)), m_targets(std::move(targets)), m_flags(flags)
{
}

void TransferJob::setCurrent(const QByteArray& path)
{
    setCurrentItem(FileName::display(shown(path)));
}

FileOperationResult TransferJob::result() const
{
    FileOperationResult result;
    result.error = errorString();
    result.aborted = isCancelled();
    result.succeeded = result.error.isEmpty() && !result.aborted;
    return result;
}

bool TransferJob::failWith(const QString& verb, const QByteArray& path, const QString& reason)
{
    setError(verb + QStringLiteral(" \"") + shown(path) + QStringLiteral("\":\r\n") + reason);
    return false;
}

bool TransferJob::plan()
{
    if (m_sources.isEmpty())
        return failWith(verbOf(m_kind), QByteArray(), QStringLiteral("No file(s) selected"));
    const bool oneToOne = m_kind == FileOperationKind::Rename || (m_targets.size() == m_sources.size() && m_sources.size() > 1);
    if (m_kind != FileOperationKind::Delete && (m_targets.isEmpty() || (oneToOne && m_targets.size() != m_sources.size())))
        return failWith(verbOf(m_kind), native(m_sources.first()), QStringLiteral("No destination was given."));
    QByteArray folder;
    if (m_kind == FileOperationKind::Copy || m_kind == FileOperationKind::Move) {
        const QString target = m_targets.first();
        const bool intoFolder = LocalFiles::isDir(target) || target.endsWith(QLatin1Char('/')) || m_sources.size() > 1;
        if (!oneToOne && intoFolder)
            folder = native(target);
    }
    struct stat into {};
    const bool intoExists = !folder.isEmpty() && ::stat(folder.constData(), &into) == 0;
    for (qsizetype i = 0; i < m_sources.size(); ++i) {
        Pair pair{native(m_sources[i]), QByteArray()};
        if (m_kind == FileOperationKind::Rename && !m_targets[i].contains(QLatin1Char('/')))
            pair.dst = joined(folderOf(pair.src), FileName::encode(m_targets[i]));
        else if (m_kind != FileOperationKind::Delete)
            pair.dst = folder.isEmpty() ? native(m_targets[oneToOne ? i : 0]) : joined(folder, nameOf(pair.src));
        if (intoExists && liesIn(pair.src, into))
            pair.place = m_kind == FileOperationKind::Copy ? Place::UnderNewName : Place::WhereItIs;
        if (pair.place == Place::UnderNewName) {
            struct stat st {};
            pair.dst = joined(folder, copyName(nameOf(pair.src), lstatOf(pair.src, &st) && S_ISDIR(st.st_mode), 1));
        }
        if (!checkPair(pair))
            return false;
        if (pair.place != Place::WhereItIs)
            m_pairs.push_back(pair);
    }
    if (!folder.isEmpty() && !LocalFiles::makePath(shown(folder)))
        return failWith(verbOf(m_kind), folder, FileCopier::errorText(errno ? errno : EACCES));
    return true;
}

bool TransferJob::checkPair(const Pair& pair)
{
    struct stat src {};
    struct stat dst {};
    if (!lstatOf(pair.src, &src))
        return failWith(verbOf(m_kind), pair.src, FileCopier::errorText(errno));
    if (m_kind == FileOperationKind::Delete)
        return true;
    if (m_kind == FileOperationKind::Rename || pair.place == Place::WhereItIs)
        return true;
    // The same file under another path (a bind mount, a linked folder) counts as itself; two
    // hard links of one file are two names and may be copied onto each other safely.
    if (lstatOf(pair.dst, &dst) && sameFile(src, dst)
        && (pair.src == pair.dst || S_ISDIR(src.st_mode) || src.st_nlink < 2))
        return failWith(verbOf(m_kind), pair.src, QStringLiteral("The source and destination file names are the same."));
    if (S_ISDIR(src.st_mode) && isInside(folderOf(pair.dst), src))
        return failWith(verbOf(m_kind), pair.src, QStringLiteral("The destination folder is a subfolder of the source folder."));
    return true;
}

void TransferJob::execute()
{
    switch (m_kind) {
    case FileOperationKind::Copy: {
        std::vector<Item> items;
        for (const Pair& pair : m_pairs) {
            const std::size_t first = items.size();
            if (!walk(pair.src, pair.dst, &items))
                return;
            items[first].newName = pair.place == Place::UnderNewName;
        }
        copyItems(items);
        return;
    }
    case FileOperationKind::Move:
    case FileOperationKind::Rename:
        addTotal(std::int64_t(m_pairs.size()));
        for (const Pair& pair : m_pairs) {
            if (stopped() || !settleItem(pair.src, [&] { return movePair(pair.src, pair.dst); }))
                return;
        }
        return;
    case FileOperationKind::Delete:
        addTotal(std::int64_t(m_pairs.size()));
        for (const Pair& pair : m_pairs) {
            if (stopped() || !settleItem(pair.src, [&] { return deletePath(pair.src); }))
                return;
        }
        return;
    }
}

bool TransferJob::walk(const QByteArray& src, const QByteArray& dst, std::vector<Item>* items)
{
    if (isCancelled())
        return false;
    Item item{src, dst, {}, false};
    if (!lstatOf(src, &item.st))
        return failWith(verbOf(m_kind), src, FileCopier::errorText(errno));
    items->push_back(item);
    addTotal(1, S_ISREG(item.st.st_mode) ? item.st.st_size : 0);
    if (!S_ISDIR(item.st.st_mode))
        return true;
    int error = 0;
    const std::vector<QByteArray> names = childrenOf(src, &error);
    if (error)
        return failWith(verbOf(m_kind), src, FileCopier::errorText(error));
    for (const QByteArray& name : names) {
        if (!walk(joined(src, name), joined(dst, name), items))
            return false;
    }
    return true;
}

bool TransferJob::copyItems(std::vector<Item>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        if (stopped()
            || !settleItem(item.src, [&] { return item.newName ? copyUnderNewName(items, i) : copyOne(item, false); }))
            break;
    }
    // A folder gets its times and permissions after its contents, which change both.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->copied && S_ISDIR(it->st.st_mode)) {
            FileCopier::copyExtendedAttributes(it->src, it->dst);
            FileCopier::applyAttributes(it->dst, it->st);
        }
    }
    return !stopped();
}

void TransferJob::runItemHook(const QByteArray& src)
{
    if (TransferFaults::active()) {
        if (const auto hook = TransferFaults::current().beforeItem)
            hook(shown(src));
    }
}

Result<FileCopier::Step> TransferJob::createItem(Item& item, bool replace)
{
    if (S_ISDIR(item.st.st_mode))
        return FileCopier::makeFolder(item.dst);
    if (!S_ISREG(item.st.st_mode))
        return FileCopier::copySpecial(item.src, item.st, item.dst, replace);
    const Result<FileCopier::Step> copied = FileCopier::copyFile(item.src, item.dst, replace, [&](std::int64_t written) {
        setItemBytes(written);
        return !isCancelled();
    });
    setItemBytes(0);
    return copied;
}

// Done, Cancelled or failed: what the item's outcome means for the job.
bool TransferJob::finishItem(Item& item, const Result<FileCopier::Step>& created)
{
    if (!created)
        return failWith(verbOf(m_kind), item.src, created.errorString());
    if (*created == FileCopier::Step::Done) {
        item.copied = true;
        itemDone(S_ISREG(item.st.st_mode) ? item.st.st_size : 0);
        return true;
    }
    return false;
}

bool TransferJob::copyOne(Item& item, bool replace)
{
    setCurrent(item.src);
    if (!replace)
        runItemHook(item.src);
    const Result<FileCopier::Step> created = createItem(item, replace);
    const bool exists = created && *created == FileCopier::Step::Exists;
    struct stat there {};
    if (S_ISDIR(item.st.st_mode)) {
        if (exists) {
            // Merged into the folder that is there; its own attributes stay.
            itemDone();
            return true;
        }
        if (!created && lstatOf(item.dst, &there))
            return failWith(verbOf(m_kind), item.src, QStringLiteral("A file or folder with the same name exists in the destination."));
    }
    if (!exists)
        return finishItem(item, created);
    if (lstatOf(item.dst, &there) && S_ISDIR(there.st_mode))
        return failWith(verbOf(m_kind), item.src, QStringLiteral("A folder with the same name exists in the destination."));
    if (askReplace(item.src, item.dst))
        return copyOne(item, true);
    if (!isCancelled())
        itemDone(S_ISREG(item.st.st_mode) ? item.st.st_size : 0);
    return !isCancelled();
}

// Each name is claimed by creating it without replacing: a name that is taken, even by
// another program a moment ago, is passed over for the next one, never replaced or asked about.
bool TransferJob::copyUnderNewName(std::vector<Item>& items, std::size_t first)
{
    Item& item = items[first];
    setCurrent(item.src);
    runItemHook(item.src);
    const QByteArray folder = folderOf(item.dst);
    for (int n = 1; n <= maxCopyNumber; ++n) {
        retarget(items, first, joined(folder, copyName(nameOf(item.src), S_ISDIR(item.st.st_mode), n)));
        const Result<FileCopier::Step> created = createItem(item, false);
        struct stat there {};
        const bool taken = created ? *created == FileCopier::Step::Exists : lstatOf(item.dst, &there);
        if (!taken)
            return finishItem(item, created);
    }
    return failWith(verbOf(m_kind), item.src, QStringLiteral("No free name was found for the copy."));
}

// Gives the item at first the target dst, and the items walked below it the same new folder.
void TransferJob::retarget(std::vector<Item>& items, std::size_t first, const QByteArray& dst)
{
    const QByteArray old = items[first].dst;
    const QByteArray below = old + '/';
    items[first].dst = dst;
    for (std::size_t i = first + 1; i < items.size() && items[i].dst.startsWith(below); ++i)
        items[i].dst = dst + items[i].dst.mid(old.size());
}

bool TransferJob::askReplace(const QByteArray& src, const QByteArray& dst)
{
    if (m_replaceAll)
        return true;
    struct stat source {};
    struct stat existing {};
    lstatOf(src, &source);
    lstatOf(dst, &existing);
    JobConflict conflict;
    conflict.source = src;
    conflict.existing = dst;
    conflict.sourceSize = source.st_size;
    conflict.existingSize = existing.st_size;
    conflict.sourceModified = QDateTime::fromSecsSinceEpoch(source.st_mtim.tv_sec);
    conflict.existingModified = QDateTime::fromSecsSinceEpoch(existing.st_mtim.tv_sec);
    const JobConflictChoice choice = askConflict(conflict);
    if (choice == JobConflictChoice::ProceedAll)
        m_replaceAll = true;
    return choice == JobConflictChoice::Proceed || choice == JobConflictChoice::ProceedAll;
}

bool TransferJob::movePair(const QByteArray& src, const QByteArray& dst)
{
    setCurrent(src);
    if (src == dst) {
        itemDone();
        return true;
    }
    bool crossDevice = false;
    const Result<FileCopier::Step> renamed = FileCopier::renameNoReplace(src, dst, &crossDevice);
    if (!renamed)
        return crossDevice ? copyPair({src, dst}, true) : failWith(verbOf(m_kind), src, renamed.errorString());
    if (*renamed == FileCopier::Step::Done) {
        itemDone();
        return true;
    }
    struct stat from {};
    struct stat there {};
    lstatOf(src, &from);
    lstatOf(dst, &there);
    if (m_kind == FileOperationKind::Rename)
        return failWith(verbOf(m_kind), src, QStringLiteral("A file or folder with the name \"") + shown(nameOf(dst))
                                                 + QStringLiteral("\" already exists."));
    if (S_ISDIR(from.st_mode) && S_ISDIR(there.st_mode))
        return mergeFolders(src, dst);
    if (S_ISDIR(from.st_mode) || S_ISDIR(there.st_mode))
        return failWith(verbOf(m_kind), src, QStringLiteral("A file or folder with the same name exists in the destination."));
    if (!askReplace(src, dst)) {
        itemDone();
        return !isCancelled();
    }
    if (const Result<FileCopier::Step> replaced = FileCopier::renameReplace(src, dst, &crossDevice); !replaced)
        return failWith(verbOf(m_kind), src, replaced.errorString());
    itemDone();
    return true;
}

bool TransferJob::mergeFolders(const QByteArray& src, const QByteArray& dst)
{
    int error = 0;
    const std::vector<QByteArray> names = childrenOf(src, &error);
    if (error)
        return failWith(verbOf(m_kind), src, FileCopier::errorText(error));
    addTotal(std::int64_t(names.size()));
    for (const QByteArray& name : names) {
        if (stopped() || !movePair(joined(src, name), joined(dst, name)))
            return false;
    }
    ::rmdir(src.constData()); // stays when the user kept some of its items
    itemDone();
    return true;
}

bool TransferJob::copyPair(const Pair& pair, bool forMove)
{
    std::vector<Item> items;
    if (!walk(pair.src, pair.dst, &items))
        return false;
    // Moving a volume's files would empty it once they are copied; like delete, a move
    // refuses to reach into a mounted volume, before anything is copied.
    for (const Item& item : items) {
        if (forMove && S_ISDIR(item.st.st_mode) && (item.st.st_dev != items.front().st.st_dev || FileCopier::isMountRoot(item.src)))
            return failWith(verbOf(m_kind), item.src, QStringLiteral("A volume is mounted there; it is not moved."));
    }
    if (!copyItems(items))
        return false;
    return !forMove || removeCopiedSources(items);
}

bool TransferJob::removeCopiedSources(const std::vector<Item>& items)
{
    // A source that changed while it was copied is kept: its copy may be stale.
    for (const Item& item : items) {
        struct stat now {};
        if (item.copied && !S_ISDIR(item.st.st_mode)
            && (!lstatOf(item.src, &now) || !sameFile(now, item.st) || now.st_size != item.st.st_size
                || now.st_mtim.tv_sec != item.st.st_mtim.tv_sec || now.st_mtim.tv_nsec != item.st.st_mtim.tv_nsec))
            return failWith(verbOf(m_kind), item.src, QStringLiteral("It changed while it was being copied; the source was kept."));
    }
    // The copies reach the disk before any source goes.
    const FileDescriptor folder = FileDescriptor::open(folderOf(items.front().dst), O_RDONLY | O_DIRECTORY);
    if (folder.isOpen() && ::syncfs(folder.get()) != 0)
        return failWith(verbOf(m_kind), items.front().src, FileCopier::errorText(errno));
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (S_ISDIR(it->st.st_mode))
            ::rmdir(it->src.constData()); // stays when the user kept some of its items
        else if (it->copied && ::unlink(it->src.constData()) != 0)
            return failWith(verbOf(m_kind), it->src, FileCopier::errorText(errno));
    }
    return true;
}

bool TransferJob::deletePath(const QByteArray& path)
{
    setCurrent(path);
    if (m_flags.testFlag(FileOperationFlag::AllowUndo)) {
        const Status trashed = Trash::moveToTrash(shown(path));
        if (trashed) {
            itemDone();
            return true;
        }
        JobConflict conflict;
        conflict.kind = JobConflictKind::NoTrash;
        conflict.source = path;
        conflict.reason = trashed.errorString();
        const JobConflictChoice choice = askConflict(conflict);
        if (choice != JobConflictChoice::Proceed && choice != JobConflictChoice::ProceedAll) {
            itemDone();
            return !isCancelled();
        }
    }
    if (const Status removed = FileCopier::removeTree(path, [this] { return !isCancelled(); }); !removed)
        return isCancelled() ? false : failWith(verbOf(m_kind), path, removed.errorString());
    itemDone();
    return true;
}
