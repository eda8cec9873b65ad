#include "sync/SyncJob.h"

#include "platform/FileName.h"
#include "platform/PathText.h"
#include "sync/SyncCopier.h"
#include "sync/SyncFolderListing.h"

#include <QMutexLocker>

#include <algorithm>

#include <sys/stat.h>

namespace {

QByteArray below(const QByteArray& folder, const QByteArray& relative)
{
    return relative.isEmpty() ? folder : PathText::joined(folder, relative);
}

QString shown(const QByteArray& path)
{
    return FileName::display(FileName::decode(path));
}

} // namespace

SyncJob::SyncJob(std::vector<SyncPair> pairs, SyncOptions options)
    : m_pairs(std::move(pairs))
    , m_options(options)
{
    for (SyncPair& pair : m_pairs) {
        pair.left = PathText::withoutTrailingSlash(pair.left);
        pair.right = PathText::withoutTrailingSlash(pair.right);
    }
}

SyncStatus SyncJob::status() const
{
    QMutexLocker lock(&m_mutex);
    SyncStatus status = m_status;
    status.fileWritten = m_fileWritten;
    return status;
}

SyncResult SyncJob::result() const
{
    QMutexLocker lock(&m_mutex);
    return m_result;
}

bool SyncJob::plan()
{
    if (m_pairs.empty()) {
        m_refused = true;
        setError(SyncRules::nothingToSynchronize());
        return false;
    }
    for (const SyncPair& pair : m_pairs) {
        const QString problem = SyncRules::pairProblem(pair.left, pair.right);
        if (!problem.isEmpty()) {
            m_refused = true;
            setError(problem);
            return false;
        }
    }
    for (int i = int(m_pairs.size()) - 1; i >= 0 && !stopped(); --i) {
        {
            QMutexLocker lock(&m_mutex);
            m_status.pair = i;
        }
        SyncResult& r = m_result; // the counters are only written on this thread
        SyncSideCounts left;
        SyncSideCounts right;
        gather(m_pairs[size_t(i)].left, &left);
        gather(m_pairs[size_t(i)].right, &right);
        QMutexLocker lock(&m_mutex);
        for (auto [total, side] : {std::pair{&r.left, left}, std::pair{&r.right, right}}) {
            total->folders += side.folders;
            total->files += side.files;
            total->bytes += side.bytes;
        }
    }
    addTotal(m_result.left.files + m_result.right.files, m_result.left.bytes + m_result.right.bytes);
    return !stopped();
}

// The subfolders below top, depth first and never through a link, and the plain files in
// top and in each of them.
void SyncJob::gather(const QByteArray& top, SyncSideCounts* side)
{
    std::vector<QByteArray> folders{top};
    while (!folders.empty() && !stopped()) {
        const QByteArray folder = folders.back();
        folders.pop_back();
        const SyncFolderListing listing(folder);
        side->files += listing.fileCount();
        side->bytes += listing.fileBytes();
        QMutexLocker lock(&m_mutex);
        m_status.bytesFound += listing.fileBytes();
        m_status.phase = m_options.recurse ? SyncPhase::CheckingFolders : SyncPhase::CheckingFiles;
        if (!m_options.recurse)
            return;
        const auto& entries = listing.entries();
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            if (it->entry.kind == SyncKind::Folder) {
                folders.push_back(PathText::joined(folder, it->name));
                ++side->folders;
            }
        }
    }
}

void SyncJob::execute()
{
    {
        QMutexLocker lock(&m_mutex);
        m_status.phase = SyncPhase::Synchronizing;
    }
    for (int i = int(m_pairs.size()) - 1; i >= 0 && !stopped(); --i) {
        {
            QMutexLocker lock(&m_mutex);
            m_status.pair = i;
        }
        syncPair(m_pairs[size_t(i)]);
    }
    setTexts(QString(), QString());
}

void SyncJob::syncPair(const SyncPair& pair)
{
    // Relative folders still to visit, the next one last: depth first, in name order.
    std::vector<QByteArray> pending{QByteArray()};
    while (!pending.empty() && !stopped()) {
        const QByteArray relative = pending.back();
        pending.pop_back();
        std::vector<QByteArray> next;
        syncFolder(below(pair.left, relative), below(pair.right, relative), &next, relative);
        pending.insert(pending.end(), next.rbegin(), next.rend());
    }
}

void SyncJob::syncFolder(const QByteArray& left, const QByteArray& right, std::vector<QByteArray>* next,
                         const QByteArray& relative)
{
    const SyncFolderListing leftListing(left);
    const SyncFolderListing rightListing(right);
    for (const auto& [listing, folder] : {std::pair{&leftListing, left}, std::pair{&rightListing, right}}) {
        if (!listing->errorString().isEmpty()) {
            fail(folder, listing->errorString(), true);
            return;
        }
    }
    const std::int64_t resolution = std::max(SyncRules::timeResolutionOf(left), SyncRules::timeResolutionOf(right));
    const auto& a = leftListing.entries();
    const auto& b = rightListing.entries();
    auto i = a.begin();
    auto j = b.begin();
    const SyncEntry missing;
    while ((i != a.end() || j != b.end()) && !stopped()) {
        const bool takeLeft = j == b.end() || (i != a.end() && i->name <= j->name);
        const bool takeRight = i == a.end() || (j != b.end() && j->name <= i->name);
        const QByteArray& name = takeLeft ? i->name : j->name;
        const SyncEntry& l = takeLeft ? i->entry : missing;
        const SyncEntry& r = takeRight ? j->entry : missing;
        const QByteArray leftPath = PathText::joined(left, name);
        const QByteArray rightPath = PathText::joined(right, name);
        if (l.kind == SyncKind::Folder || r.kind == SyncKind::Folder) {
            const FolderStep step = mirrorFolder(leftPath, rightPath, l, r);
            if (step == FolderStep::Stop)
                return;
            if (step == FolderStep::Descend)
                next->push_back(below(relative, name));
        } else {
            syncName(leftPath, rightPath, l, r, resolution);
        }
        if (takeLeft)
            ++i;
        if (takeRight)
            ++j;
    }
}

SyncJob::FolderStep SyncJob::mirrorFolder(const QByteArray& left, const QByteArray& right, const SyncEntry& l,
                                           const SyncEntry& r)
{
    if (l.kind != SyncKind::Missing && r.kind != SyncKind::Missing && l.kind != r.kind) {
        fail(l.kind == SyncKind::Folder ? right : left, QStringLiteral("A folder of this name is on the other side; left alone."),
             true);
        return FolderStep::Skip;
    }
    if (!m_options.recurse)
        return FolderStep::Skip;
    if (l.kind == SyncKind::Folder && r.kind == SyncKind::Folder)
        return FolderStep::Descend;
    const bool toRight = r.kind == SyncKind::Missing;
    const QByteArray& mirror = toRight ? right : left;
    QString error;
    if (!SyncCopier::makeMirrorFolder(toRight ? left : right, mirror, &error)) {
        setError(SyncRules::cannotCreateFolder(mirror));
        return FolderStep::Stop;
    }
    QMutexLocker lock(&m_mutex);
    ++m_result.foldersCreated;
    return FolderStep::Descend;
}

void SyncJob::syncName(const QByteArray& left, const QByteArray& right, const SyncEntry& l, const SyncEntry& r,
                       std::int64_t resolution)
{
    const QString checking = QStringLiteral("Checking: ") + shown(PathText::nameOf(left));
    if (l.kind != SyncKind::Missing)
        setTexts(checking, QString());
    else
        setTexts(QString(), checking);
    switch (SyncRules::decide(l, r, m_options.mustExist, resolution)) {
    case SyncAction::CopyToRight:
        copyOne(left, right, l, r);
        break;
    case SyncAction::CopyToLeft:
        copyOne(right, left, r, l);
        break;
    case SyncAction::Skip:
        fail(l.kind == SyncKind::Special || r.kind == SyncKind::Missing ? left : right,
             l.kind == SyncKind::Special || r.kind == SyncKind::Special
                 ? QStringLiteral("Not a regular file, link or folder; left alone.")
                 : QStringLiteral("A file on one side and a link on the other; left alone."),
             true);
        break;
    case SyncAction::None:
        break;
    }
    itemDone((l.kind == SyncKind::File ? l.size : 0) + (r.kind == SyncKind::File ? r.size : 0));
}

void SyncJob::copyOne(const QByteArray& src, const QByteArray& dst, const SyncEntry& from, const SyncEntry& to)
{
    setTexts(SyncRules::shortened(QStringLiteral("Copying: ") + shown(src)),
             SyncRules::shortened(QStringLiteral("to ") + shown(PathText::withTrailingSlash(PathText::folderOf(dst)))));
    const bool replace = to.kind != SyncKind::Missing;
    if (replace) {
        // Only the copy that was compared is replaced: one written meanwhile may be newer.
        struct stat now {};
        if (::lstat(dst.constData(), &now) != 0 || !SyncEntry::fromStat(now).sameAs(to)) {
            fail(dst, QStringLiteral("Changed while the folders were synchronized; left alone."), false);
            return;
        }
    }
    {
        QMutexLocker lock(&m_mutex);
        m_status.fileSize = from.size;
    }
    m_fileWritten = 0;
    QString error;
    const SyncCopier::Outcome outcome = SyncCopier::copy(src, dst, from.kind == SyncKind::Link, replace,
                                                         [this](std::int64_t written) {
                                                             m_fileWritten = written;
                                                             setItemBytes(written);
                                                             return !isCancelled();
                                                         },
                                                         &error);
    m_fileWritten = 0;
    switch (outcome) {
    case SyncCopier::Outcome::Done: {
        QMutexLocker lock(&m_mutex);
        ++m_result.filesUpdated;
        break;
    }
    case SyncCopier::Outcome::Failed:
        fail(src, error, false);
        break;
    case SyncCopier::Outcome::Changed:
        fail(dst, QStringLiteral("Created while the folders were synchronized; left alone."), false);
        break;
    case SyncCopier::Outcome::Cancelled:
        break;
    }
}

void SyncJob::fail(const QByteArray& path, const QString& message, bool skipped)
{
    QMutexLocker lock(&m_mutex);
    ++(skipped ? m_result.skipped : m_result.notUpdated);
    if (m_result.failures.size() < kMaxFailures)
        m_result.failures.push_back({path, message});
}

void SyncJob::setTexts(const QString& left, const QString& right)
{
    QMutexLocker lock(&m_mutex);
    m_status.leftText = left;
    m_status.rightText = right;
}
