#pragma once
// Small pass-through stages of an entry's byte stream: a bounded range of a device read in
// chunks, and a sink that counts, checks the CRC and refuses bytes beyond the declared size
// (what stops a zip bomb whose stream is longer than its header says).

#include "codec/Deflate.h"
#include "io/ReadDevice.h"

#include <functional>
#include <vector>

namespace zipio {

class RangeSource {
public:
    static constexpr size_t kChunk = 256 * 1024;
    RangeSource(const ReadDevice& device, uint64_t offset, uint64_t length)
        : m_device(device), m_offset(offset), m_left(length), m_total(length) {}
    // The next chunk; empty with ok=false on a read error, empty with ok=true at the end.
    bool next(std::vector<uint8_t>& chunk);
    uint64_t consumed() const { return m_total - m_left; }
    uint64_t total() const { return m_total; }

private:
    const ReadDevice& m_device;
    uint64_t m_offset;
    uint64_t m_left;
    uint64_t m_total;
};

class CrcCheckingSink {
public:
    CrcCheckingSink(uint64_t expectedSize, const zipcodec::ByteSink& next) : m_expected(expectedSize), m_next(next) {}
    bool operator()(const uint8_t* data, size_t n);
    bool overflowed() const { return m_overflow; }
    bool sinkFailed() const { return m_sinkFailed; }
    bool complete(uint32_t expectedCrc) const { return m_written == m_expected && m_crc == expectedCrc; }
    uint64_t written() const { return m_written; }

private:
    uint64_t m_expected;
    const zipcodec::ByteSink& m_next;
    uint64_t m_written = 0;
    uint32_t m_crc = 0;
    bool m_overflow = false;
    bool m_sinkFailed = false;
};

} // namespace zipio
