#pragma once
// The on-disk records of a TIFF file: the 8-byte header, the 12-byte directory entry and
// the RATIONAL value, each with its parse and write, plus the byte-order helpers every read
// and write of a number goes through. Tag and type numbers are those of TIFF 6.0.

#include "platform/ByteOrder.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <cstring>

namespace tiff {

enum class ByteOrder { Little, Big };

// Numbers in the file's byte order. Callers check the length before they read.
inline uint16_t read16(const unsigned char* p, ByteOrder order)
{
    return order == ByteOrder::Little ? byteorder::readLE16(p) : byteorder::readBE16(p);
}

inline uint32_t read32(const unsigned char* p, ByteOrder order)
{
    return order == ByteOrder::Little ? byteorder::readLE32(p) : byteorder::readBE32(p);
}

// The writer always writes Intel ("II") order.
using byteorder::appendLE16;
using byteorder::appendLE32;

enum Tag : uint16_t {
    NewSubfileType = 254,
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    Photometric = 262,
    StripOffsets = 273,
    SamplesPerPixel = 277,
    RowsPerStrip = 278,
    StripByteCounts = 279,
    XResolution = 282,
    YResolution = 283,
    PlanarConfiguration = 284,
    ResolutionUnit = 296,
    Software = 305,
    Predictor = 317,
    ColorMap = 320,
};

enum Type : uint16_t {
    Byte = 1,
    Ascii = 2,
    Short = 3,
    Long = 4,
    Rational = 5,
};

// Bytes one value of the type takes; 0 for a type the reader does not know.
inline uint32_t typeSize(uint16_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;     // BYTE, ASCII, SBYTE, UNDEFINED
    case 3: case 8: return 2;                      // SHORT, SSHORT
    case 4: case 9: case 11: case 13: return 4;    // LONG, SLONG, FLOAT, IFD
    case 5: case 10: case 12: return 8;            // RATIONAL, SRATIONAL, DOUBLE
    default: return 0;
    }
}

// Header: byte order mark, 42, offset of the first directory.
struct Header {
    static constexpr int Size = 8;
    static constexpr uint16_t Version = 42;

    ByteOrder order = ByteOrder::Little;
    uint32_t firstDirectory = 0;

    // False when the mark is neither "II" nor "MM" or the version is not 42.
    bool parse(const unsigned char* p)
    {
        if (p[0] == 'I' && p[1] == 'I')
            order = ByteOrder::Little;
        else if (p[0] == 'M' && p[1] == 'M')
            order = ByteOrder::Big;
        else
            return false;
        if (read16(p + 2, order) != Version)
            return false;
        firstDirectory = read32(p + 4, order);
        return true;
    }

    void write(QByteArray& out) const
    {
        out.append("II", 2);
        appendLE16(out, Version);
        appendLE32(out, firstDirectory);
    }
};

// One 12-byte directory entry. The value field is kept as its four raw bytes: a value that
// fits in four bytes sits at their start, in the file's byte order; a larger one is
// elsewhere and the field holds its offset.
struct Entry {
    static constexpr int Size = 12;

    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::array<unsigned char, 4> field{};

    void parse(const unsigned char* p, ByteOrder order)
    {
        tag = read16(p, order);
        type = read16(p + 2, order);
        count = read32(p + 4, order);
        std::memcpy(field.data(), p + 8, 4);
    }

    // Whether the values are held in the field itself (TIFF 6.0: four bytes or fewer).
    bool isInline() const { return uint64_t(typeSize(type)) * count <= 4; }
    uint32_t offset(ByteOrder order) const { return read32(field.data(), order); }

    // A writer's entry with one SHORT or LONG value, or a value offset.
    static void write(QByteArray& out, uint16_t tag, uint16_t type, uint32_t count, uint32_t value)
    {
        appendLE16(out, tag);
        appendLE16(out, type);
        appendLE32(out, count);
        if (type == Short && count == 1) {
            appendLE16(out, uint16_t(value));
            appendLE16(out, 0);
        } else {
            appendLE32(out, value);
        }
    }
};

struct RationalValue {
    static constexpr int Size = 8;

    uint32_t numerator = 0;
    uint32_t denominator = 1;

    void write(QByteArray& out) const
    {
        appendLE32(out, numerator);
        appendLE32(out, denominator);
    }
};

} // namespace tiff
