#pragma once
// The decisions of folder synchronisation that need no disk: which way a name goes, how two
// modification times compare on file systems that keep them with different precision, and
// the texts the dialog and the command-line tool show.

#include <QByteArray>
#include <QString>

#include <cstdint>

#include <sys/stat.h>
#include <time.h>

// What an entry of a synchronised folder is, by lstat: links are never followed.
enum class SyncKind { Missing, File, Link, Folder, Special };

struct SyncEntry {
    SyncKind kind = SyncKind::Missing;
    std::int64_t size = 0;
    struct timespec modified {};
    dev_t device = 0;
    ino_t inode = 0;

    static SyncKind kindOf(mode_t mode);
    static SyncEntry fromStat(const struct stat& st);
    // Whether the entry is still the one that was listed (nothing wrote it since).
    bool sameAs(const SyncEntry& other) const;
};

// What to do with one name found in the left folder, the right folder or both.
enum class SyncAction {
    None,        // equal, or only on one side while "File must exist" is ticked
    CopyToRight, // the left copy is missing on the right or newer
    CopyToLeft,
    Skip,        // a FIFO, socket or device, or not the same kind on both sides
};

namespace SyncRules {

// One nanosecond: the file systems that keep full precision.
constexpr std::int64_t kExactNs = 1;

// The precision in nanoseconds with which the file system of statfs type fsType keeps
// modification times: FAT 2 s, exFAT 10 ms, ISO 9660 and the network file systems that
// round to the second (SMB/CIFS, FUSE ones such as sshfs) 1 s, the others 1 ns.
std::int64_t timeResolution(std::int64_t fsType);
// The resolution of the file system holding path (kExactNs when it cannot be asked).
std::int64_t timeResolutionOf(const QByteArray& path);

// -1 when a is older than b, 1 when newer, 0 when they differ by less than resolutionNs:
// a copy onto a file system with coarser times is then equal to its source, and two runs in a
// row copy nothing the second time.
int compareTimes(const struct timespec& a, const struct timespec& b, std::int64_t resolutionNs);

// The action for a name that is a file, link or special file on at least one side (folders
// are mirrored by the walk, never here).
SyncAction decide(const SyncEntry& left, const SyncEntry& right, bool mustExist, std::int64_t resolutionNs);

// A status text longer than 50 characters as its first 23 characters, "..." and its last 24.
QString shortened(const QString& text);

// What the paths' text alone tells against a pair (empty when nothing): either is empty,
// both are the same, or one lies inside the other. Needs no disk, for the window's thread.
QString textProblem(const QByteArray& left, const QByteArray& right);
// Why a pair of folders cannot be synchronised, empty when it can: either is empty or
// missing, both are the same folder, or one lies inside the other (the mirror would then grow
// without end). Folders are compared as the file system resolves them (links, "..").
QString pairProblem(const QByteArray& left, const QByteArray& right);

QString nothingToSynchronize();
QString nestedFolders();
QString summaryText(std::int64_t foldersCreated, std::int64_t filesUpdated, std::int64_t notUpdated);
QString cannotCreateFolder(const QByteArray& path);

} // namespace SyncRules
