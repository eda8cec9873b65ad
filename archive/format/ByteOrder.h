#pragma once
// Little-endian reads and writes for the zip records. Every multi-byte field of the format
// goes through these helpers, never through hand-shifted bytes at the call site.

#include <cstdint>
#include <cstring>
#include <string>

namespace zipfmt {

inline uint16_t readLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t readLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t readLE64(const uint8_t* p) { return uint64_t(readLE32(p)) | (uint64_t(readLE32(p + 4)) << 32); }

inline void writeLE16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void writeLE32(uint8_t* p, uint32_t v)
{
    writeLE16(p, uint16_t(v));
    writeLE16(p + 2, uint16_t(v >> 16));
}
inline void writeLE64(uint8_t* p, uint64_t v)
{
    writeLE32(p, uint32_t(v));
    writeLE32(p + 4, uint32_t(v >> 32));
}

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
