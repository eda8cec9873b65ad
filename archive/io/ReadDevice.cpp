#include "io/ReadDevice.h"

#include "platform/FileName.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zipio {

void UniqueFd::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

bool FileDevice::open(const QString& path)
{
    // O_NONBLOCK keeps a FIFO from blocking the open; the fstat below then refuses it.
    UniqueFd fd(::open(FileName::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        m_error = QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = QStringLiteral("cannot open %1: not a regular file").arg(path);
        return false;
    }
    ::fcntl(fd.get(), F_SETFL, 0);
    m_fd = std::move(fd);
    m_size = uint64_t(st.st_size);
    return true;
}

bool FileDevice::readAt(uint64_t offset, void* buffer, size_t n) const
{
    if (!rangeInside(offset, n, m_size))
        return false;
    auto* out = static_cast<char*>(buffer);
    while (n > 0) {
        const ssize_t got = ::pread(m_fd.get(), out, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += uint64_t(got);
        n -= size_t(got);
    }
    return true;
}

VolumeSet::VolumeSet(std::vector<std::unique_ptr<FileDevice>> volumes) : m_volumes(std::move(volumes))
{
    for (const auto& v : m_volumes) {
        m_starts.push_back(m_total);
        m_total += v->size();
    }
    m_starts.push_back(m_total);
}

bool VolumeSet::readAt(uint64_t offset, void* buffer, size_t n) const
{
    if (!rangeInside(offset, n, m_total))
        return false;
    auto* out = static_cast<char*>(buffer);
    size_t i = size_t(std::upper_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin()) - 1;
    while (n > 0 && i < m_volumes.size()) {
        const uint64_t inVolume = offset - m_starts[i];
        const size_t take = size_t(std::min<uint64_t>(n, m_volumes[i]->size() - inVolume));
        if (take > 0 && !m_volumes[i]->readAt(inVolume, out, take))
            return false;
        out += take;
        offset += take;
        n -= take;
        ++i;
    }
    return n == 0;
}

bool MemoryDevice::readAt(uint64_t offset, void* buffer, size_t n) const
{
    if (!rangeInside(offset, n, m_size))
        return false;
    if (n > 0)
        std::memcpy(buffer, m_data + offset, n);
    return true;
}

} // namespace zipio
