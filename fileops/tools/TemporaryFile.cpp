#include "fileops/tools/TemporaryFile.h"

#include "platform/FileDescriptor.h"
#include "platform/linux/FileCopier.h"

#include <cerrno>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray TemporaryFile::write(const QByteArray& prefix, const QByteArray& content, mode_t mode, QString* error)
{
    QByteArray path = prefix + "XXXXXX";
    FileDescriptor fd(::mkostemp(path.data(), O_CLOEXEC));
    if (!fd.isOpen()) {
        *error = FileCopier::errorText(errno);
        return QByteArray();
    }
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd.get(), content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    errno = done < content.size() ? (errno ? errno : EIO) : 0;
    if (errno || ::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0 || !fd.close()) {
        *error = FileCopier::errorText(errno ? errno : EIO);
        ::unlink(path.constData());
        return QByteArray();
    }
    return path;
}
