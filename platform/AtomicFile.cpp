#include "platform/AtomicFile.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

Status failed(const QString& message)
{
    return Status::failure(QStringLiteral("File"), message);
}

// Moves the finished temporary file to path; without mayReplace an entry at path stays.
bool moveIntoPlace(const QByteArray& from, const QByteArray& path, bool mayReplace)
{
    if (mayReplace)
        return ::rename(from.constData(), path.constData()) == 0;
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, path.constData(), RENAME_NOREPLACE) == 0;
}

} // namespace

Status AtomicFile::replace(const QByteArray& path, const QByteArray& bytes, mode_t mode)
{
    return write(path, bytes, mode, true);
}

Status AtomicFile::createNew(const QByteArray& path, const QByteArray& bytes, mode_t mode)
{
    return write(path, bytes, mode, false);
}

Status AtomicFile::write(const QByteArray& path, const QByteArray& bytes, mode_t mode, bool mayReplace)
{
    const QString shown = FileName::decode(path);
    const QByteArray folder = PathText::folderOf(path);
    if (!folder.isEmpty() && !LocalFiles::makePath(FileName::decode(folder))) {
        return failed(QStringLiteral("cannot create the folder %1").arg(FileName::decode(folder)));
    }
    QByteArray pattern = path + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return failed(QStringLiteral("cannot create a temporary file beside %1: %2").arg(shown, systemError(errno)));
    }
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || !moveIntoPlace(pattern, path, mayReplace)) {
        const int code = !written ? writeErrno : errno;
        ::unlink(pattern.constData());
        if (code == EEXIST && !mayReplace)
            return failed(QStringLiteral("%1 already exists").arg(shown));
        return failed(QStringLiteral("cannot write %1: %2").arg(shown, systemError(code)));
    }
    const int dirFd = ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return Status();
}
