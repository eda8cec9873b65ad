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

// Whether entries on a file system of this type (statfs's f_type) can carry the attribute
// where this machine reads it. False for file systems without user extended attributes
// (FAT, exFAT, ISO 9660, UDF, proc, sysfs, ramfs) and for SMB client mounts: a Samba
// server keeps user.DOSATTRIB to itself and serves the bits as the file's own attributes,
// so asking there would cost a network round trip per entry and always come back empty.
// Every other type (ext4, XFS, Btrfs, tmpfs, NFS, FUSE, unknown ones) may hold it, written
// by Samba, by this program or by a copy that kept extended attributes.
bool mayBeStoredOn(int64_t fileSystemType);

} // namespace DosAttrib
