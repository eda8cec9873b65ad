#include "viewers/text/PagedFile.h"

#include "platform/FileName.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PagedFile::open(const QString& path)
{
    close();
    m_path = path;
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just after.
    FileDescriptor fd = FileDescriptor::open(FileName::encode(path), O_RDONLY | O_NONBLOCK);
    if (!fd.isOpen()) {
        m_error = fd.status().errorString();
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = QStringLiteral("\"%1\" is not a regular file").arg(FileName::display(path));
        return false;
    }
    m_fd = std::move(fd);
    m_size = st.st_size;
    m_error.clear();
    return true;
}

void PagedFile::close()
{
    m_fd.reset();
    m_size = 0;
}

std::int64_t PagedFile::readInto(std::int64_t offset, char* buffer, std::int64_t length) const
{
    return m_fd.readAt(offset, buffer, length);
}

QByteArray PagedFile::read(std::int64_t offset, std::int64_t length) const
{
    if (offset < 0 || offset >= m_size || length <= 0)
        return {};
    length = std::min(length, m_size - offset);
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    const std::int64_t got = readInto(offset, bytes.data(), length);
    bytes.truncate(qsizetype(std::max<std::int64_t>(got, 0)));
    return bytes;
}
