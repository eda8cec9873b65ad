#include "io/EntryStreams.h"

#include <algorithm>

namespace zipio {

bool RangeSource::next(std::vector<uint8_t>& chunk)
{
    const size_t n = size_t(std::min<uint64_t>(m_left, kChunk));
    chunk.resize(n);
    if (n == 0)
        return true;
    if (!m_device.readAt(m_offset, chunk.data(), n)) {
        chunk.clear();
        return false;
    }
    m_offset += n;
    m_left -= n;
    return true;
}

bool CrcCheckingSink::operator()(const uint8_t* data, size_t n)
{
    if (n > m_expected - m_written) {
        m_overflow = true;
        return false;
    }
    m_crc = zipcodec::crc32(m_crc, data, n);
    m_written += n;
    if (!m_next(data, n)) {
        m_sinkFailed = true;
        return false;
    }
    return true;
}

} // namespace zipio
