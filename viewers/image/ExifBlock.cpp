#include "viewers/image/ExifBlock.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kUpright = 1;
constexpr std::uint32_t kOrientationTag = 0x0112;
constexpr std::size_t kTiffStart = 6; // after "Exif\0\0"

// Reads 16 or 32 bits at offset of the TIFF block, in its byte order; false past the end.
class ExifBytes {
public:
    ExifBytes(const unsigned char* data, std::size_t size)
        : m_data(data + kTiffStart)
        , m_size(std::int64_t(size - kTiffStart))
    {
    }
    bool littleEndian() const { return m_data[0] == 'I'; }
    bool read16(std::int64_t offset, std::uint32_t& value) const { return read(offset, 2, value); }
    bool read32(std::int64_t offset, std::uint32_t& value) const { return read(offset, 4, value); }

private:
    bool read(std::int64_t offset, int length, std::uint32_t& value) const
    {
        if (offset < 0 || offset + length > m_size)
            return false;
        value = 0;
        for (int i = 0; i < length; ++i) {
            const int shift = littleEndian() ? 8 * i : 8 * (length - 1 - i);
            value |= std::uint32_t(m_data[offset + i]) << shift;
        }
        return true;
    }

    const unsigned char* m_data;
    std::int64_t m_size;
};

} // namespace

int ExifBlock::orientation(const unsigned char* data, std::size_t size)
{
    if (size < kTiffStart + 8 || std::memcmp(data, "Exif\0\0", kTiffStart) != 0)
        return kUpright;
    const bool intel = std::memcmp(data + kTiffStart, "II", 2) == 0;
    if (!intel && std::memcmp(data + kTiffStart, "MM", 2) != 0)
        return kUpright;
    const ExifBytes bytes(data, size);
    std::uint32_t directory = 0;
    std::uint32_t count = 0;
    if (!bytes.read32(4, directory) || !bytes.read16(directory, count))
        return kUpright;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::int64_t entry = std::int64_t(directory) + 2 + 12 * std::int64_t(i);
        std::uint32_t tag = 0;
        std::uint32_t value = 0;
        if (!bytes.read16(entry, tag))
            return kUpright;
        if (tag == kOrientationTag && bytes.read16(entry + 8, value))
            return value >= 1 && value <= 8 ? int(value) : kUpright;
    }
    return kUpright;
}
