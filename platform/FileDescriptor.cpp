#include "platform/FileDescriptor.h"

#include "platform/FileName.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(other.release())
    , m_error(other.m_error)
    , m_status(std::move(other.m_status))
{
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        reset(other.release());
        m_error = other.m_error;
        m_status = std::move(other.m_status);
    }
    return *this;
}

FileDescriptor FileDescriptor::open(const QByteArray& path, int flags, mode_t mode)
{
    FileDescriptor result(::open(path.constData(), flags | O_CLOEXEC, mode));
    if (!result.isOpen()) {
        result.m_error = errno;
        result.m_status = Status::failure(QStringLiteral("File"), QStringLiteral("Cannot open \"%1\": %2")
                                                                      .arg(FileName::decode(path), QString::fromLocal8Bit(std::strerror(result.m_error))));
        errno = result.m_error;
    }
    return result;
}

void FileDescriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

std::int64_t FileDescriptor::readAt(std::int64_t offset, char* buffer, std::int64_t length) const
{
    std::int64_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(m_fd, buffer + done, size_t(length - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

int FileDescriptor::release()
{
    return std::exchange(m_fd, -1);
}

bool FileDescriptor::close()
{
    const int fd = release();
    return fd < 0 || ::close(fd) == 0;
}
