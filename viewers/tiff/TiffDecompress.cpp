#include "viewers/tiff/TiffDecompress.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>

namespace tiff {

namespace {

bool unpackBits(const QByteArray& in, QByteArray& out, qsizetype limit)
{
    const auto* p = reinterpret_cast<const unsigned char*>(in.constData());
    const auto* end = p + in.size();
    qsizetype room = limit;
    while (p < end && room > 0) {
        const int n = static_cast<signed char>(*p++);
        if (n >= 0) {
            const qsizetype literal = std::min<qsizetype>(n + 1, room);
            if (end - p < literal)
                return false;
            out.append(reinterpret_cast<const char*>(p), literal);
            p += n + 1;
            room -= literal;
        } else if (n != -128) {
            if (p == end)
                return false;
            const qsizetype run = std::min<qsizetype>(1 - n, room);
            out.append(run, char(*p++));
            room -= run;
        }
    }
    return true;
}

// TIFF's LZW: codes of 9 to 12 bits, most significant bit first, with the code width
// growing one code early (at 511, 1023 and 2047).
class LzwDecoder {
public:
    bool decode(const QByteArray& in, QByteArray& out, qsizetype limit)
    {
        m_in = reinterpret_cast<const unsigned char*>(in.constData());
        m_bitsLeft = uint64_t(in.size()) * 8;
        reset();
        int previous = -1;
        qsizetype room = limit;
        while (room > 0) {
            const int code = readCode();
            if (code < 0 || code == EndOfInformation)
                return true;
            if (code == Clear) {
                reset();
                previous = -1;
                continue;
            }
            if (previous < 0) {
                if (code >= Clear)
                    return false;
            } else if (code < m_next) {
                add(previous, firstByte(code));
            } else if (code == m_next) {
                add(previous, firstByte(previous));
            } else {
                return false;
            }
            room -= appendString(code, out, room);
            previous = code;
        }
        return true;
    }

private:
    static constexpr int Clear = 256;
    static constexpr int EndOfInformation = 257;
    static constexpr int TableSize = 4096;

    void reset()
    {
        m_width = 9;
        m_next = 258;
        for (int i = 0; i < 256; ++i) {
            m_prefix[i] = -1;
            m_suffix[i] = uint8_t(i);
            m_length[i] = 1;
        }
    }

    int readCode()
    {
        if (m_bitsLeft < uint64_t(m_width))
            return -1;
        int code = 0;
        for (int i = 0; i < m_width; ++i) {
            code = code << 1 | ((m_in[m_bitPos >> 3] >> (7 - (m_bitPos & 7))) & 1);
            ++m_bitPos;
        }
        m_bitsLeft -= uint64_t(m_width);
        return code;
    }

    uint8_t firstByte(int code) const
    {
        while (m_prefix[code] >= 0)
            code = m_prefix[code];
        return m_suffix[code];
    }

    void add(int prefix, uint8_t suffix)
    {
        if (m_next >= TableSize)
            return;
        m_prefix[m_next] = int16_t(prefix);
        m_suffix[m_next] = suffix;
        m_length[m_next] = uint16_t(m_length[prefix] + 1);
        ++m_next;
        if (m_next >= (1 << m_width) - 1 && m_width < 12)
            ++m_width;
    }

    // Appends the string of code, cut to room bytes; returns how many were appended.
    qsizetype appendString(int code, QByteArray& out, qsizetype room)
    {
        const qsizetype length = m_length[code];
        const qsizetype start = out.size();
        const qsizetype kept = std::min(length, room);
        out.resize(start + kept);
        // The string is built from its last byte backwards; bytes past room are skipped.
        for (qsizetype i = length - 1; i >= 0; --i, code = m_prefix[code]) {
            if (i < kept)
                out[start + i] = char(m_suffix[code]);
        }
        return kept;
    }

    const unsigned char* m_in = nullptr;
    uint64_t m_bitPos = 0;
    uint64_t m_bitsLeft = 0;
    int m_width = 9;
    int m_next = 258;
    std::array<int16_t, TableSize> m_prefix{};
    std::array<uint8_t, TableSize> m_suffix{};
    std::array<uint16_t, TableSize> m_length{};
};

bool inflateStrip(const QByteArray& in, QByteArray& out, qsizetype limit)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    const qsizetype start = out.size();
    // Grows the output as data comes, so a strip claims no more memory than it yields.
    qsizetype capacity = std::min<qsizetype>(limit, std::max<qsizetype>(in.size() * 4, 4096));
    out.resize(start + capacity);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    stream.avail_in = uInt(std::min<qsizetype>(in.size(), UINT_MAX));
    int status = Z_OK;
    qsizetype produced = 0;
    while (status == Z_OK && produced < limit) {
        if (produced == capacity) {
            capacity = std::min(limit, capacity * 2);
            out.resize(start + capacity);
        }
        const qsizetype room = std::min<qsizetype>(capacity - produced, UINT_MAX);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + start + produced);
        stream.avail_out = uInt(room);
        status = inflate(&stream, Z_NO_FLUSH);
        produced += room - qsizetype(stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_in == 0)
            break;
    }
    inflateEnd(&stream);
    out.resize(start + produced);
    return status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR;
}

} // namespace

bool canDecompress(uint32_t compression)
{
    return compression == NoCompression || compression == Lzw || compression == AdobeDeflate
        || compression == Deflate || compression == PackBits;
}

uint64_t maxExpansion(uint32_t compression)
{
    switch (compression) {
    case PackBits: return 64;            // two bytes repeat one byte 128 times
    case Lzw: return 2731;               // a 12-bit code stands for at most 4094 bytes
    case AdobeDeflate:
    case Deflate: return 1032;           // zlib's largest ratio
    default: return 1;
    }
}

bool decompressStrip(uint32_t compression, const QByteArray& in, QByteArray& out, qsizetype limit)
{
    switch (compression) {
    case NoCompression:
        out.append(in.left(limit));
        return true;
    case PackBits:
        return unpackBits(in, out, limit);
    case Lzw:
        return LzwDecoder().decode(in, out, limit);
    case AdobeDeflate:
    case Deflate:
        return inflateStrip(in, out, limit);
    default:
        return false;
    }
}

void undoHorizontalDifferencing(char* data, qsizetype rowBytes, qsizetype rows, int samplesPerPixel)
{
    for (qsizetype row = 0; row < rows; ++row) {
        auto* p = reinterpret_cast<unsigned char*>(data + row * rowBytes);
        for (qsizetype i = samplesPerPixel; i < rowBytes; ++i)
            p[i] = uint8_t(p[i] + p[i - samplesPerPixel]);
    }
}

} // namespace tiff
