#include "browse/HiddenList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

HiddenList HiddenList::fromBytes(const char* data, size_t size)
{
    HiddenList list;
    size_t start = 0;
    while (start < size) {
        const void* newline = std::memchr(data + start, '\n', size - start);
        const size_t end = newline ? size_t(static_cast<const char*>(newline) - data) : size;
        size_t length = end - start;
        if (length > 0 && data[start + length - 1] == '\r')
            --length;
        if (length > 0)
            list.m_names.insert(QByteArray(data + start, qsizetype(length)));
        start = end + 1;
    }
    return list;
}

HiddenList HiddenList::read(int folderFd)
{
    // O_NONBLOCK: a FIFO named ".hidden" must not hang the listing before fstat rejects it.
    const int fd = ::openat(folderFd, ".hidden", O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {};
    struct stat st;
    QByteArray bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxFileSize) {
        bytes.resize(qsizetype(st.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    return fromBytes(bytes.constData(), size_t(bytes.size()));
}

bool HiddenList::contains(const char* name, size_t length) const
{
    return !m_names.isEmpty() && m_names.contains(QByteArray::fromRawData(name, qsizetype(length)));
}
