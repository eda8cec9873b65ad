#pragma once
// Little-endian reads and writes for the zip records (the program's one set, from the
// platform layer) and the cursor and builder the records are parsed and written with.

#include "platform/ByteOrder.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace zipfmt {

using byteorder::readLE16;
using byteorder::readLE32;
using byteorder::readLE64;
using byteorder::writeLE16;
using byteorder::writeLE32;
using byteorder::writeLE64;

// Appends fields to a growing byte string; used to build records before they are written.
class ByteWriter {
public:
    void u16(uint16_t v) { uint8_t b[2]; writeLE16(b, v); m_bytes.append(reinterpret_cast<char*>(b), 2); }
    void u32(uint32_t v) { uint8_t b[4]; writeLE32(b, v); m_bytes.append(reinterpret_cast<char*>(b), 4); }
    void u64(uint64_t v) { uint8_t b[8]; writeLE64(b, v); m_bytes.append(reinterpret_cast<char*>(b), 8); }
    void bytes(const std::string& s) { m_bytes += s; }
    const std::string& data() const { return m_bytes; }
    std::string take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

// A bounds-checked cursor over a byte range: every read states how many bytes it needs and
// fails (without reading) when fewer are left.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool has(size_t n) const { return n <= m_size - m_pos; }
    size_t left() const { return m_size - m_pos; }
    size_t pos() const { return m_pos; }
    bool skip(size_t n) { if (!has(n)) return false; m_pos += n; return true; }
    bool u16(uint16_t& v) { if (!has(2)) return false; v = readLE16(m_data + m_pos); m_pos += 2; return true; }
    bool u32(uint32_t& v) { if (!has(4)) return false; v = readLE32(m_data + m_pos); m_pos += 4; return true; }
    bool u64(uint64_t& v) { if (!has(8)) return false; v = readLE64(m_data + m_pos); m_pos += 8; return true; }
    bool bytes(std::string& out, size_t n)
    {
        if (!has(n))
            return false;
        out.assign(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace zipfmt
