#include "sync/SyncRules.h"

#include "platform/FileName.h"
#include "platform/PathText.h"

#include <climits>
#include <cstdlib>
#include <memory>

#include <linux/magic.h>
#include <sys/vfs.h>

namespace {

// Magic numbers that <linux/magic.h> does not carry on every system.
constexpr std::int64_t kExfatMagic = 0x2011BAB0;
constexpr std::int64_t kFuseMagic = 0x65735546;
constexpr std::int64_t kCifsMagic = 0xFF534D42;
constexpr std::int64_t kSmb2Magic = 0xFE534D42;
constexpr std::int64_t kSecondNs = 1000000000;

std::int64_t nanoseconds(const struct timespec& t)
{
    return std::int64_t(t.tv_sec) * kSecondNs + t.tv_nsec;
}

// The folder as the file system resolves it, with a trailing slash; empty when it is not there.
QByteArray resolvedFolder(const QByteArray& path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr), &std::free);
    if (!real)
        return QByteArray();
    QByteArray folder(real.get());
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace

SyncKind SyncEntry::kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return SyncKind::File;
    if (S_ISDIR(mode))
        return SyncKind::Folder;
    if (S_ISLNK(mode))
        return SyncKind::Link;
    return SyncKind::Special;
}

SyncEntry SyncEntry::fromStat(const struct stat& st)
{
    SyncEntry entry;
    entry.kind = kindOf(st.st_mode);
    entry.size = st.st_size;
    entry.modified = st.st_mtim;
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
    return entry;
}

bool SyncEntry::sameAs(const SyncEntry& other) const
{
    return kind == other.kind && size == other.size && modified.tv_sec == other.modified.tv_sec
        && modified.tv_nsec == other.modified.tv_nsec && device == other.device && inode == other.inode;
}

std::int64_t SyncRules::timeResolution(std::int64_t fsType)
{
    switch (fsType) {
    case MSDOS_SUPER_MAGIC:
        return 2 * kSecondNs;
    case kExfatMagic:
        return 10 * 1000 * 1000;
    case ISOFS_SUPER_MAGIC:
    case kFuseMagic:
    case kCifsMagic:
    case kSmb2Magic:
    case SMB_SUPER_MAGIC:
        return kSecondNs;
    default:
        return kExactNs;
    }
}

std::int64_t SyncRules::timeResolutionOf(const QByteArray& path)
{
    struct statfs fs {};
    if (::statfs(path.constData(), &fs) != 0)
        return kExactNs;
    return timeResolution(std::int64_t(fs.f_type) & 0xFFFFFFFF);
}

int SyncRules::compareTimes(const struct timespec& a, const struct timespec& b, std::int64_t resolutionNs)
{
    const std::int64_t difference = nanoseconds(a) - nanoseconds(b);
    if (difference > -resolutionNs && difference < resolutionNs)
        return 0;
    return difference < 0 ? -1 : 1;
}

SyncAction SyncRules::decide(const SyncEntry& left, const SyncEntry& right, bool mustExist, std::int64_t resolutionNs)
{
    if (left.kind == SyncKind::Special || right.kind == SyncKind::Special)
        return SyncAction::Skip;
    if (right.kind == SyncKind::Missing)
        return mustExist ? SyncAction::None : SyncAction::CopyToRight;
    if (left.kind == SyncKind::Missing)
        return mustExist ? SyncAction::None : SyncAction::CopyToLeft;
    // A file is never replaced by a link or a folder, nor the other way round: either
    // would lose what the other side holds.
    if (left.kind != right.kind)
        return SyncAction::Skip;
    switch (compareTimes(left.modified, right.modified, resolutionNs)) {
    case 1:
        return SyncAction::CopyToRight;
    case -1:
        return SyncAction::CopyToLeft;
    default:
        return SyncAction::None;
    }
}

QString SyncRules::shortened(const QString& text)
{
    constexpr int kLimit = 50;
    if (text.size() <= kLimit)
        return text;
    qsizetype head = 23;
    qsizetype tail = 24;
    // Never cut a character outside the basic plane in half.
    if (text.at(head - 1).isHighSurrogate())
        --head;
    if (text.at(text.size() - tail).isLowSurrogate())
        --tail;
    return text.left(head) + QStringLiteral("...") + text.right(tail);
}

QString SyncRules::textProblem(const QByteArray& left, const QByteArray& right)
{
    if (left.isEmpty() || right.isEmpty())
        return nothingToSynchronize();
    const QByteArray a = PathText::withTrailingSlash(left);
    const QByteArray b = PathText::withTrailingSlash(right);
    if (a == b)
        return nothingToSynchronize();
    if (a.startsWith(b) || b.startsWith(a))
        return nestedFolders();
    return QString();
}

QString SyncRules::pairProblem(const QByteArray& left, const QByteArray& right)
{
    const QString problem = textProblem(left, right);
    if (!problem.isEmpty())
        return problem;
    const QByteArray a = resolvedFolder(left);
    const QByteArray b = resolvedFolder(right);
    for (const auto& [resolved, folder] : {std::pair{a, left}, std::pair{b, right}}) {
        if (resolved.isEmpty())
            return QStringLiteral("Cannot find the folder\r\n") + FileName::decode(folder);
    }
    return textProblem(a, b);
}

QString SyncRules::nestedFolders()
{
    return QStringLiteral("Nothing to synchronize.\r\nOne folder lies inside the other.");
}

QString SyncRules::nothingToSynchronize()
{
    return QStringLiteral("Nothing to synchronize.\r\nVerify two different folders are selected.");
}

QString SyncRules::summaryText(std::int64_t foldersCreated, std::int64_t filesUpdated, std::int64_t notUpdated)
{
    QString text = QStringLiteral("Created ") + QString::number(foldersCreated) + QStringLiteral(" folders") + QStringLiteral("\r\n")
        + QStringLiteral("Updated ") + QString::number(filesUpdated) + QStringLiteral(" File(s)") + QStringLiteral("\r\n");
    if (notUpdated > 0)
        text += QStringLiteral("Not updated ") + QString::number(notUpdated) + QStringLiteral(" File(s)") + QStringLiteral("\r\n");
    return text;
}

QString SyncRules::cannotCreateFolder(const QByteArray& path)
{
    return QStringLiteral("Cannot create directory\r\n") + FileName::decode(path);
}
