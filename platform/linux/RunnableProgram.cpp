#include "platform/linux/RunnableProgram.h"

#include "platform/FileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool IsRunnableProgram(const QString& path)
{
    const QByteArray native = FileName::encode(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(native.constData(), X_OK) != 0)
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char head[4] = {};
    const ssize_t read = ::read(fd, head, sizeof head);
    ::close(fd);
    const QByteArray start(head, read > 0 ? qsizetype(read) : 0);
    return start == "\x7f" "ELF" || start.startsWith("#!");
}
