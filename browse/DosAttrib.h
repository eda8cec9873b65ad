#pragma once
// Reader of Samba's user.DOSATTRIB extended attribute, which carries the attributes a
// Windows client set on a file stored on Linux. Two encodings exist: the old text form
// "0x20" (optionally NUL-terminated), and a little-endian blob holding a 16-bit version,
// the same value again as the record selector, then the record: versions 1 and 0xFFFF
// start with the 32-bit attributes, versions 2 to 5 with 32-bit flags and then the
// attributes (versions 3 to 5 use flag 0x1 to say that the attributes are valid).
// The value comes from the file, so every read is bounds-checked.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace DosAttrib {

// The attributes stored in the value, or nullopt when the value is malformed or says that
// it holds none.
std::optional<uint32_t> parse(const uint8_t* data, size_t size);

// The name of the extended attribute.
constexpr const char* xattrName = "user.DOSATTRIB";

} // namespace DosAttrib
