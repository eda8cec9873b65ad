#include "viewers/text/TextFileSaver.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"
#include "platform/TransferFaults.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const QString& path, int error)
{
    return QCoreApplication::translate("TextFileSaver", "Cannot save \"%1\": %2")
        .arg(FileName::display(path), QString::fromLocal8Bit(std::strerror(error)));
}

// The file a link points to (through every link), or path itself; a dangling link gives
// the path it names, so that saving creates the file there.
QByteArray resolveLinks(const QByteArray& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved))
        return QByteArray(resolved);
    QByteArray current = path;
    for (int depth = 0; depth < 40; ++depth) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.constData(), target, sizeof target);
        if (length < 0)
            return current;
        QByteArray next(target, length);
        if (!next.startsWith('/'))
            next.prepend(current.left(current.lastIndexOf('/') + 1));
        current = next;
    }
    return current;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const TransferFaults faults = TransferFaults::active() ? TransferFaults::current() : TransferFaults();
    qsizetype done = 0;
    while (done < bytes.size()) {
        qsizetype chunk = std::min<qsizetype>(bytes.size() - done, 1 << 20);
        if (faults.failWriteAfter >= 0) {
            if (done >= faults.failWriteAfter) {
                errno = faults.writeError ? faults.writeError : EIO;
                return false;
            }
            chunk = std::min<qsizetype>(chunk, faults.failWriteAfter - done);
        }
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(chunk));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

// The process's file creation mask, which a new file's mode bits honour (mkostemp's 0600
// does not).
mode_t currentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

void syncFolder(const QByteArray& folder)
{
    FileDescriptor dir = FileDescriptor::open(folder, O_RDONLY | O_DIRECTORY);
    if (dir.isOpen())
        ::fsync(dir.get());
}

// Makes the old bytes of target the backup: a hard link keeps target in place meanwhile.
bool makeBackup(const QByteArray& target, const QByteArray& backup)
{
    if (::unlink(backup.constData()) != 0 && errno != ENOENT)
        return false;
    if (::link(target.constData(), backup.constData()) == 0)
        return true;
    return ::rename(target.constData(), backup.constData()) == 0;
}

} // namespace

QString TextFileSaver::backupPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash + 1 ? path.left(dot) : path;
    return stem + QStringLiteral(".BAK");
}

ViewerStatus TextFileSaver::save(const QString& path, const QByteArray& bytes, bool backup)
{
    const QByteArray target = resolveLinks(FileName::encode(path));
    const QByteArray folder = target.left(std::max<qsizetype>(target.lastIndexOf('/'), 1));
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    QByteArray temp = folder + "/.fvsave-XXXXXX";
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.isOpen())
        return ViewerStatus::failure(failure(path, errno));
    auto fail = [&](int error) {
        fd.reset();
        ::unlink(temp.constData());
        return ViewerStatus::failure(failure(path, error));
    };
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || ::fchmod(fd.get(), mode) != 0)
        return fail(errno);
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)::fchown(fd.get(), old.st_uid, old.st_gid); // keeps what it may; the bytes are what matter
    TransferFaults::noteReplaceStep("sync");
    if (!fd.close())
        return fail(errno);
    const QByteArray backupName = FileName::encode(backupPath(FileName::decode(target)));
    if (backup && exists && backupName != target && !makeBackup(target, backupName))
        return fail(errno);
    TransferFaults::noteReplaceStep("rename");
    if (::rename(temp.constData(), target.constData()) != 0) {
        const int error = errno;
        // A backup made by renaming (no hard links here) goes back to its name.
        if (::access(target.constData(), F_OK) != 0 && backup)
            ::rename(backupName.constData(), target.constData());
        return fail(error);
    }
    syncFolder(folder);
    return {};
}
