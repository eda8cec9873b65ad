#include "browse/DosAttrib.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <iterator>

namespace DosAttrib {
namespace {

using byteorder::readLE16;
using byteorder::readLE32;

std::optional<uint32_t> parseText(const uint8_t* data, size_t size)
{
    // "0x" and 1 to 8 hexadecimal digits, optionally followed by NULs.
    size_t end = size;
    while (end > 0 && data[end - 1] == 0)
        --end;
    if (end < 3 || end > 10)
        return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 2; i < end; ++i) {
        const uint8_t c = data[i];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value << 4 | digit;
    }
    return value;
}

std::optional<uint32_t> parseBlob(const uint8_t* data, size_t size)
{
    constexpr uint32_t attribValid = 0x1;
    if (size < 8)
        return std::nullopt;
    const uint16_t version = readLE16(data);
    if (readLE16(data + 2) != version)
        return std::nullopt;
    switch (version) {
    case 1:
    case 0xFFFF:
        return readLE32(data + 4);
    case 2:
        if (size < 12)
            return std::nullopt;
        return readLE32(data + 8);
    case 3:
    case 4:
    case 5:
        if (size < 12 || !(readLE32(data + 4) & attribValid))
            return std::nullopt;
        return readLE32(data + 8);
    default:
        return std::nullopt;
    }
}

} // namespace

bool mayBeStoredOn(int64_t fileSystemType)
{
    // The values of <linux/magic.h> (cifs.ko reports the SMB2 one for SMB 2 and 3 mounts).
    static constexpr int64_t without[] = {
        0x4d44,     // MSDOS_SUPER_MAGIC: vfat, msdos
        0x2011BAB0, // EXFAT_SUPER_MAGIC
        0x9660,     // ISOFS_SUPER_MAGIC
        0x15013346, // UDF_SUPER_MAGIC
        0x9fa0,     // PROC_SUPER_MAGIC
        0x62656572, // SYSFS_MAGIC
        0x858458f6, // RAMFS_MAGIC
        0xFF534D42, // CIFS_SUPER_MAGIC
        0xFE534D42, // SMB2_SUPER_MAGIC
        0x517B,     // SMB_SUPER_MAGIC
    };
    const int64_t type = fileSystemType & 0xFFFFFFFF;
    return std::find(std::begin(without), std::end(without), type) == std::end(without);
}

std::optional<uint32_t> parse(const uint8_t* data, size_t size)
{
    if (!data)
        return std::nullopt;
    if (size >= 2 && data[0] == '0' && (data[1] == 'x' || data[1] == 'X'))
        return parseText(data, size);
    return parseBlob(data, size);
}

} // namespace DosAttrib
