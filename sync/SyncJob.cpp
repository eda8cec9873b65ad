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
        gather(m_pairs[size_t(i)].left, &SyncResult::left);
        gather(m_pairs[size_t(i)].right, &SyncResult::right);
    }
    addTotal(m_result.left.files + m_result.right.files, m_result.left.bytes + m_result.right.bytes);
    return !stopped();
}

// The subfolders below top, depth first and never through a link, and the plain files in
// top and in each of them.
void SyncJob::gather(const QByteArray& top, SyncSideCounts SyncResult::*side)
{
    std::vector<QByteArray> folders{top};
    while (!folders.empty() && !stopped()) {
        const QByteArray folder = folders.back();
        folders.pop_back();
        const SyncFolderListing listing(folder);
        QMutexLocker lock(&m_mutex);
        SyncSideCounts& counts = m_result.*side;
        counts.files += listing.fileCount();
        counts.bytes += listing.fileBytes();
        m_status.bytesFound += listing.fileBytes();
        m_status.phase = m_options.recurse ? SyncPhase::CheckingFolders : SyncPhase::CheckingFiles;
        if (!m_options.recurse)
            return;
        const auto& entries = listing.entries();
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            if (it->entry.kind == SyncKind::Folder) {
                folders.push_back(PathText::joined(folder, it->name));
                ++counts.folders;
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
    // Copies made whole before a Stop or an error are put in place too.
    commitStaged();
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
        // (Checked again just before the rename.)
        struct stat now {};
        if (::lstat(dst.constData(), &now) != 0 || !SyncEntry::fromStat(now).sameAs(to)) {
            fail(dst, changedText(), false);
            return;
        }
    }
    {
        QMutexLocker lock(&m_mutex);
        m_status.fileSize = from.size;
    }
    m_fileWritten = 0;
    const SyncCopier::Progress progress = [this](std::int64_t written) {
        m_fileWritten = written;
        setItemBytes(written);
        return !isCancelled();
    };
    QString error;
    SyncCopier::Outcome outcome;
    if (replace && from.kind == SyncKind::File) {
        SyncCopier::Staged staged;
        outcome = SyncCopier::stage(src, dst, to, progress, &staged, &error);
        if (outcome == SyncCopier::Outcome::Done) {
            m_staged.push_back(staged);
            m_stagedBytes += from.size;
            if (m_staged.size() >= kStageBatch || m_stagedBytes >= kStageBytes)
                commitStaged();
            m_fileWritten = 0;
            return;
        }
    } else {
        outcome = SyncCopier::copy(src, dst, from.kind == SyncKind::Link, replace, progress, &error);
    }
    m_fileWritten = 0;
    settle(outcome, src, dst, error);
}

void SyncJob::commitStaged()
{
    std::vector<SyncCopier::Outcome> outcomes;
    std::vector<QString> errors;
    SyncCopier::commit(m_staged, &outcomes, &errors);
    for (std::size_t i = 0; i < m_staged.size(); ++i)
        settle(outcomes[i], m_staged[i].target, m_staged[i].target, errors[i]);
    m_staged.clear();
    m_stagedBytes = 0;
}

void SyncJob::settle(SyncCopier::Outcome outcome, const QByteArray& src, const QByteArray& dst, const QString& error)
{
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
        fail(dst, changedText(), false);
        break;
    case SyncCopier::Outcome::Cancelled:
        break;
    }
}

QString SyncJob::changedText()
{
    return QStringLiteral("Changed by someone else while the folders were synchronized; left alone.");
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
