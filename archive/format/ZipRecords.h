#pragma once
// The on-disk records of a zip archive, one struct each, with a matching parse and write.
// A parse reads from a ByteReader positioned just after the record's signature and fails
// without side effects when the bytes run out; a write returns the whole record, signature
// included. Sizes and offsets that may need Zip64 are kept 64-bit here; the 32-bit fields on
// disk hold 0xFFFFFFFF (or 0xFFFF) and the real value lives in the Zip64 extra field.

#include "format/ByteOrder.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zipfmt {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kDataDescriptorSignature = 0x08074b50;
// The first four bytes of the first volume of a split archive.
constexpr uint32_t kSplitMarker = 0x08074b50;

constexpr uint16_t kExtraZip64 = 0x0001;
constexpr uint16_t kExtraTimestamp = 0x5455;
constexpr uint16_t kExtraUnicodePath = 0x7075;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8 = 0x0800;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

constexpr uint32_t kMax32 = 0xFFFFFFFFu;
constexpr uint16_t kMax16 = 0xFFFF;

struct LocalFileHeader {
    static constexpr size_t kFixedSize = 30; // signature included
    uint16_t versionNeeded = 20;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    std::string name;
    std::string extra;

    // Reads the 26 fixed bytes only; name and extra follow with parseVariable().
    bool parseFixed(ByteReader& in, uint16_t& nameLength, uint16_t& extraLength);
    std::string write() const;
};

struct CentralDirectoryHeader {
    static constexpr size_t kFixedSize = 46; // signature included
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 20;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint32_t diskStart = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint64_t localHeaderOffset = 0;
    std::string name;
    std::string extra; // without the Zip64 field: parse() resolves it, write() adds it
    std::string comment;

    bool parse(ByteReader& in);
    std::string write() const;
    bool needsZip64() const;
};

struct EndOfCentralDirectory {
    static constexpr size_t kFixedSize = 22;
    uint16_t disk = 0;
    uint16_t centralDirectoryDisk = 0;
    uint16_t entriesOnDisk = 0;
    uint16_t totalEntries = 0;
    uint32_t centralDirectorySize = 0;
    uint32_t centralDirectoryOffset = 0;
    std::string comment;

    bool parse(ByteReader& in);
    std::string write() const;
};

struct Zip64EndOfCentralDirectory {
    static constexpr size_t kFixedSize = 56;
    uint16_t versionMadeBy = 45;
    uint16_t versionNeeded = 45;
    uint32_t disk = 0;
    uint32_t centralDirectoryDisk = 0;
    uint64_t entriesOnDisk = 0;
    uint64_t totalEntries = 0;
    uint64_t centralDirectorySize = 0;
    uint64_t centralDirectoryOffset = 0;

    bool parse(ByteReader& in);
    std::string write() const;
};

struct Zip64Locator {
    static constexpr size_t kFixedSize = 20;
    uint32_t endDisk = 0;
    uint64_t endOffset = 0;
    uint32_t totalDisks = 1;

    bool parse(ByteReader& in);
    std::string write() const;
};

struct DataDescriptor {
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    bool zip64 = false;

    std::string write() const;
};

// Where a central directory and the end records lie; writeEndRecords() gives the end of
// central directory record, preceded by the Zip64 end record and locator when a count,
// size, offset or disk number does not fit the classic fields.
struct EndPlace {
    uint32_t centralDisk = 0;
    uint64_t centralOffset = 0;
    uint64_t centralSize = 0;
    uint64_t entries = 0;
    uint64_t entriesOnLastDisk = 0;
    uint32_t endDisk = 0;
    uint64_t endOffset = 0; // where the records begin, within endDisk
};
bool needsZip64End(const EndPlace& place);
std::string writeEndRecords(const EndPlace& place, const std::string& comment);

// Extra-field blocks: id (2), size (2), data. A block that runs past the end ends the walk.
std::optional<std::string> findExtra(const std::string& extra, uint16_t id);
std::string removeExtra(const std::string& extra, uint16_t id);
std::string extraBlock(uint16_t id, const std::string& data);

} // namespace zipfmt
