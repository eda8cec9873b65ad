#include "io/MappedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zipio {

const uint8_t MappedFile::kEmpty = 0;

namespace {
constexpr uint64_t kDropStep = 8u << 20;
}

MappedFile::~MappedFile()
{
    if (m_data && m_data != &kEmpty)
        ::munmap(const_cast<uint8_t*>(m_data), m_size);
}

bool MappedFile::open(const QString& path)
{
    if (!m_file.open(path)) {
        m_error = m_file.errorString();
        return false;
    }
    m_size = m_file.size();
    if (m_size == 0) {
        m_data = &kEmpty;
        return true;
    }
    void* mapped = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, m_file.fd(), 0);
    if (mapped == MAP_FAILED) {
        m_error = QStringLiteral("cannot map %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        m_size = 0;
        return false;
    }
    ::madvise(mapped, m_size, MADV_SEQUENTIAL);
    m_data = static_cast<const uint8_t*>(mapped);
    return true;
}

void MappedFile::dropBefore(uint64_t offset)
{
    const uint64_t page = uint64_t(::sysconf(_SC_PAGESIZE));
    const uint64_t end = std::min(offset, m_size) / page * page;
    if (m_data == &kEmpty || end < m_dropped + kDropStep)
        return;
    ::madvise(const_cast<uint8_t*>(m_data) + m_dropped, end - m_dropped, MADV_DONTNEED);
    m_dropped = end;
}

} // namespace zipio
