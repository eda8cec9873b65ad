#include "platform/linux/FileCopier.h"

#include "platform/DirStream.h"
#include "platform/FileDescriptor.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "platform/TransferFaults.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Progress and Cancel are checked per chunk. A chunk starts at 8 MiB and doubles while one
// takes less than a tenth of a second, so that fast disks make few calls and a slow stick
// still answers Cancel quickly.
constexpr std::int64_t kFirstChunk = 8 << 20;
constexpr std::int64_t kLargestChunk = std::int64_t(1) << 30;
constexpr auto kQuickChunk = std::chrono::milliseconds(100);
constexpr std::size_t kBufferSize = 1 << 20;  // read/write fallback

std::mutex faultsMutex;
std::atomic<bool> faultsActive{false};
TransferFaults& faultsStore()
{
    static TransferFaults faults;
    return faults;
}

// A failed step: errno is left at code for the caller.
Status failed(int code)
{
    errno = code;
    return Status::failure(QStringLiteral("Transfer"), FileCopier::errorText(code));
}

// The limit a test fault puts on this chunk; 0 with errno set when the fault is due now.
std::int64_t chunkLimit(std::int64_t done, std::int64_t want, std::int64_t failAfter, int code, bool* due)
{
    if (failAfter < 0)
        return want;
    if (done >= failAfter) {
        *due = true;
        errno = code;
        return 0;
    }
    return std::min(want, failAfter - done);
}

class ByteCopy {
public:
    ByteCopy(int in, int out, std::int64_t expected) : m_in(in), m_out(out), m_expected(expected) {}

    // Copies until end of file; false with errno on failure, *cancelled when onChunk said stop.
    bool run(const FileCopier::ChunkCallback& onChunk, bool* cancelled)
    {
        const bool injected = TransferFaults::active();
        TransferFaults faults;
        if (injected)
            faults = TransferFaults::current();
        std::int64_t done = 0;
        std::int64_t chunk = kFirstChunk;
        for (;;) {
            std::int64_t want = chunk;
            const auto started = std::chrono::steady_clock::now();
            if (injected) {
                bool due = false;
                want = chunkLimit(done, want, faults.failWriteAfter, faults.writeError, &due);
                if (!due)
                    want = chunkLimit(done, want, faults.failReadAfter, faults.readError, &due);
                if (due)
                    return false;
            }
            const ssize_t n = step(want, done);
            if (n < 0)
                return false;
            if (n == 0)
                return true;
            done += n;
            if (injected && faults.afterChunk)
                faults.afterChunk(done);
            if (n == chunk && chunk < kLargestChunk && std::chrono::steady_clock::now() - started < kQuickChunk)
                chunk *= 2;
            if (onChunk && !onChunk(done)) {
                *cancelled = true;
                return false;
            }
        }
    }

private:
    ssize_t step(std::int64_t want, std::int64_t done)
    {
        if (m_useRange) {
            const ssize_t n = ::copy_file_range(m_in, nullptr, m_out, nullptr, std::size_t(want), 0);
            // Some file systems refuse the call or (like procfs) claim an empty file; both are
            // copied with plain reads and writes instead.
            const bool refused = n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS
                                           || errno == EOPNOTSUPP || errno == EBADF || errno == EPERM);
            if (done == 0 && (refused || (n == 0 && m_expected > 0))) {
                m_useRange = false;
                return step(want, done);
            }
            return n;
        }
        if (!m_buffer)
            m_buffer = std::make_unique<char[]>(kBufferSize);
        ssize_t n;
        do
            n = ::read(m_in, m_buffer.get(), std::min<std::int64_t>(want, kBufferSize));
        while (n < 0 && errno == EINTR);
        for (ssize_t written = 0; n > 0 && written < n;) {
            const ssize_t w = ::write(m_out, m_buffer.get() + written, std::size_t(n - written));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                if (w == 0)
                    errno = EIO;
                return -1;
            }
            written += w;
        }
        return n;
    }

    int m_in;
    int m_out;
    std::int64_t m_expected;
    bool m_useRange = true;
    std::unique_ptr<char[]> m_buffer;
};

// A new temporary file beside dst, opened for writing.
int makeTemporary(const QByteArray& dst, QByteArray* tempPath)
{
    QByteArray pattern = PathText::joined(PathText::folderOf(dst), QByteArray("." + PathText::nameOf(dst).left(200) + ".fvpart-XXXXXX"));
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        *tempPath = pattern;
    return fd;
}

// A file without a name in dst's folder, for a new copy: it gets dst's name only once it is
// complete, so that a crash or a kill never leaves a cut-off file under the real name. -1
// where the file system cannot make one (or /proc is not there to name it later).
int openUnnamed(const QByteArray& dst)
{
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0;
    if (!canName)
        return -1;
    return ::open(PathText::folderOf(dst).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

// Gives the unnamed file behind fd the name dst; fails with EEXIST when dst is taken.
bool linkUnnamed(int fd, const QByteArray& dst)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, dst.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// A free name beside dst for a node made before it replaces dst.
QByteArray temporaryName(const QByteArray& dst)
{
    QByteArray path;
    const int fd = makeTemporary(dst, &path);
    if (fd < 0)
        return QByteArray();
    ::close(fd);
    ::unlink(path.constData());
    return path;
}

// Extended attributes (the program's own user.DOSATTRIB among them, and ACLs) go with the copy.
// A target file system that does not take one (FAT, or a security label) is not an error: the
// bytes and the attributes that matter are there.
template <typename List, typename Get, typename Set>
void copyAttributes(List list, Get get, Set set)
{
    std::vector<char> names(1024);
    ssize_t length = list(names.data(), names.size());
    if (length < 0 && errno == ERANGE) {
        names.resize(std::size_t(std::max<ssize_t>(list(nullptr, 0), 0)) + 1);
        length = list(names.data(), names.size());
    }
    std::vector<char> value;
    for (ssize_t at = 0; at < length; at += ssize_t(std::strlen(names.data() + at)) + 1) {
        const char* name = names.data() + at;
        const ssize_t size = get(name, nullptr, 0);
        if (size < 0)
            continue;
        value.resize(std::size_t(size) + 1);
        const ssize_t got = get(name, value.data(), value.size());
        if (got >= 0)
            set(name, value.data(), std::size_t(got));
    }
}

void copyAttributes(int in, int out)
{
    copyAttributes([in](char* list, std::size_t size) { return ::flistxattr(in, list, size); },
                   [in](const char* name, void* value, std::size_t size) { return ::fgetxattr(in, name, value, size); },
                   [out](const char* name, const void* value, std::size_t size) { ::fsetxattr(out, name, value, size, 0); });
}

bool makeNode(const QByteArray& src, const struct stat& st, const QByteArray& at)
{
    if (S_ISLNK(st.st_mode)) {
        std::vector<char> target(std::size_t(std::max<off_t>(st.st_size, 255)) + 2);
        for (;;) {
            const ssize_t n = ::readlink(src.constData(), target.data(), target.size());
            if (n < 0)
                return false;
            if (std::size_t(n) < target.size()) {
                target[std::size_t(n)] = '\0';
                break;
            }
            target.resize(target.size() * 2);
        }
        return ::symlink(target.data(), at.constData()) == 0;
    }
    if (S_ISFIFO(st.st_mode))
        return ::mkfifo(at.constData(), st.st_mode & 07777) == 0;
    return ::mknod(at.constData(), st.st_mode, st.st_rdev) == 0;
}

} // namespace

bool TransferFaults::active()
{
    return faultsActive;
}

TransferFaults TransferFaults::current()
{
    std::lock_guard lock(faultsMutex);
    return faultsStore();
}

void TransferFaults::set(const TransferFaults& faults)
{
    std::lock_guard lock(faultsMutex);
    faultsStore() = faults;
    faultsActive = faults.any();
}

void TransferFaults::clear()
{
    set(TransferFaults());
}

void TransferFaults::noteReplaceStep(const char* step)
{
    if (!active())
        return;
    if (const auto hook = current().replaceStep)
        hook(step);
}

QString FileCopier::errorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

void FileCopier::copyExtendedAttributes(const QByteArray& src, const QByteArray& dst)
{
    copyAttributes([&](char* list, std::size_t size) { return ::llistxattr(src.constData(), list, size); },
                   [&](const char* name, void* value, std::size_t size) { return ::lgetxattr(src.constData(), name, value, size); },
                   [&](const char* name, const void* value, std::size_t size) {
                       ::lsetxattr(dst.constData(), name, value, size, 0);
                   });
}

void FileCopier::applyAttributes(const QByteArray& dst, const struct stat& st)
{
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!S_ISLNK(st.st_mode)) {
        if (::geteuid() == 0)
            (void)::chown(dst.constData(), st.st_uid, st.st_gid);
        ::chmod(dst.constData(), st.st_mode & 07777);
    } else if (::geteuid() == 0) {
        (void)::lchown(dst.constData(), st.st_uid, st.st_gid);
    }
    ::utimensat(AT_FDCWD, dst.constData(), times, AT_SYMLINK_NOFOLLOW);
}

Result<FileCopier::Step> FileCopier::copyFile(const QByteArray& src, const QByteArray& dst, bool replace,
                                              const ChunkCallback& onChunk)
{
    const FileDescriptor in = FileDescriptor::open(src, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat now {};
    if (!in.isOpen() || ::fstat(in.get(), &now) != 0)
        return failed(errno);
    // The path must still be the regular file that was planned: never read a FIFO or device
    // that took its place.
    if (!S_ISREG(now.st_mode))
        return failed(EINVAL);
    QByteArray written = dst;
    FileDescriptor out;
    bool unnamed = false;
    if (replace) {
        out.reset(makeTemporary(dst, &written));
    } else {
        struct stat there {};
        if (::lstat(dst.constData(), &there) == 0)
            return Step::Exists;
        out.reset(openUnnamed(dst));
        unnamed = out.isOpen();
        if (!unnamed)
            out = FileDescriptor::open(dst, O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (!out.isOpen() && errno == EEXIST)
            return Step::Exists;
    }
    if (!out.isOpen())
        return failed(errno);

    bool cancelled = false;
    ByteCopy bytes(in.get(), out.get(), now.st_size);
    bool ok = bytes.run(onChunk, &cancelled);
    int code = errno;
    if (ok) {
        copyAttributes(in.get(), out.get());
        if (::geteuid() == 0)
            (void)::fchown(out.get(), now.st_uid, now.st_gid);
        ::fchmod(out.get(), now.st_mode & 07777);
        const struct timespec times[2] = {now.st_atim, now.st_mtim};
        ::futimens(out.get(), times);
        if (unnamed && !linkUnnamed(out.get(), dst)) {
            if (errno == EEXIST)
                return Step::Exists; // made there meanwhile; the unnamed copy goes with its descriptor
            return failed(errno);
        }
        unnamed = false; // named now: a failing close removes it like any partial copy
        // A replacing file's bytes reach the disk before its name does: after a crash the
        // rename may have landed while the data had not, losing old and new contents alike.
        if (replace && ::fdatasync(out.get()) != 0) {
            ok = false;
        } else {
            if (replace)
                TransferFaults::noteReplaceStep("sync");
            ok = out.close();
        }
        code = errno;
    }
    if (ok && replace) {
        TransferFaults::noteReplaceStep("rename");
        if (::rename(written.constData(), dst.constData()) != 0) {
            ok = false;
            code = errno;
        }
    }
    if (!ok) {
        out.reset();
        if (!unnamed)
            ::unlink(written.constData());
        if (cancelled)
            return Step::Cancelled;
        return failed(code);
    }
    return Step::Done;
}

Result<FileCopier::Step> FileCopier::copySpecial(const QByteArray& src, const struct stat& st, const QByteArray& dst,
                                                 bool replace)
{
    const QByteArray at = replace ? temporaryName(dst) : dst;
    if (at.isEmpty() || !makeNode(src, st, at)) {
        if (errno == EEXIST && !replace)
            return Step::Exists;
        return failed(errno);
    }
    applyAttributes(at, st);
    if (replace && ::rename(at.constData(), dst.constData()) != 0) {
        const int code = errno;
        ::unlink(at.constData());
        return failed(code);
    }
    return Step::Done;
}

Result<FileCopier::Step> FileCopier::makeFolder(const QByteArray& dst)
{
    if (::mkdir(dst.constData(), 0700) == 0)
        return Step::Done;
    // Only a real folder is merged into: a link there is not followed, or the copy would
    // land in whatever folder the link names.
    struct stat st {};
    if (errno == EEXIST && ::lstat(dst.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return Step::Exists;
    return failed(errno == EEXIST ? ENOTDIR : errno);
}

Result<FileCopier::Step> FileCopier::renameNoReplace(const QByteArray& src, const QByteArray& dst, bool* crossDevice)
{
    *crossDevice = false;
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return Step::Done;
    if (errno == EINVAL || errno == ENOSYS) {
        // The file system does not know the flag: a file is hard-linked (which fails when dst
        // exists) and unlinked; a folder, which cannot be linked, is renamed after a check.
        struct stat st {};
        if (::lstat(dst.constData(), &st) == 0)
            return Step::Exists;
        if (::lstat(src.constData(), &st) == 0 && !S_ISDIR(st.st_mode) && ::link(src.constData(), dst.constData()) == 0)
            return ::unlink(src.constData()) == 0 ? Result<Step>(Step::Done) : failed(errno);
        if (errno != EEXIST && ::rename(src.constData(), dst.constData()) == 0)
            return Step::Done;
    }
    if (errno == EEXIST || errno == ENOTEMPTY)
        return Step::Exists;
    *crossDevice = errno == EXDEV;
    return failed(errno);
}

Result<FileCopier::Step> FileCopier::renameReplace(const QByteArray& src, const QByteArray& dst, bool* crossDevice)
{
    *crossDevice = false;
    if (::rename(src.constData(), dst.constData()) == 0)
        return Step::Done;
    *crossDevice = errno == EXDEV;
    return failed(errno);
}

// A bind mount keeps its device number, so the kernel's own mark of a mount's root is asked too.
bool FileCopier::isMountRoot(const QByteArray& path)
{
    struct statx st {};
    return ::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) == 0
        && (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT);
}

namespace {

// Removes path and, for a folder, everything in it on the same device; a volume mounted
// somewhere inside is never entered (deleting a folder must not empty a disk mounted in it).
Status removeBelow(const QByteArray& path, dev_t device, const std::function<bool()>& onItem)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return failed(errno);
    if (S_ISDIR(st.st_mode)) {
        if (st.st_dev != device || FileCopier::isMountRoot(path)) {
            errno = EBUSY;
            return Status::failure(QStringLiteral("Transfer"),
                                   QStringLiteral("\"") + FileName::decode(path) + QStringLiteral("\" is a mounted volume and is not deleted."));
        }
        DirStream dir(path);
        if (!dir.isOpen())
            return failed(errno);
        for (const QByteArray& name : dir.sortedNames()) {
            if (Status removed = removeBelow(PathText::joined(path, name), device, onItem); !removed)
                return removed;
        }
        if (::rmdir(path.constData()) != 0)
            return failed(errno);
    } else if (::unlink(path.constData()) != 0) {
        return failed(errno);
    }
    if (onItem && !onItem())
        return failed(ECANCELED);
    return Status();
}

} // namespace

Status FileCopier::removeTree(const QByteArray& path, const std::function<bool()>& onItem)
{
    struct stat st {};
    struct stat parent {};
    if (::lstat(path.constData(), &st) != 0 || ::stat(PathText::folderOf(path).constData(), &parent) != 0)
        return failed(errno);
    // Measured against the folder above, a mount point itself (or "/") is a volume, not a
    // folder to delete: removeBelow refuses it.
    return removeBelow(path, S_ISDIR(st.st_mode) ? parent.st_dev : st.st_dev, onItem);
}
