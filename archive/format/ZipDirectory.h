#pragma once
// Reads an archive's central directory: finds the end record (and the Zip64 records when
// present), parses every central header, turns each local-header position into an offset
// in the device (volume start + offset, plus the bias of bytes prepended to the archive),
// and refuses directories whose entries overlap or point outside the archive.

#include "format/ZipRecords.h"
#include "io/ReadDevice.h"

#include <string>
#include <vector>

namespace zipfmt {

struct ZipDirectory {
    std::vector<CentralDirectoryHeader> entries;
    std::vector<uint64_t> dataRangeStart; // device offset of each entry's local header
    std::string comment;
    uint64_t centralDirectoryStart = 0;   // device offset
    uint64_t prependedBytes = 0;          // bytes before the archive not counted in its offsets

    // volumeStarts holds the device offset of each volume's first byte, then the device size.
    bool read(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts, std::string& error);
};

// Where the archive's data for an entry lies, from its local header.
struct LocalEntryPlace {
    uint64_t dataOffset = 0;
    LocalFileHeader header;
};
bool readLocalHeader(const zipio::ReadDevice& device, uint64_t offset, uint64_t compressedSize,
                     LocalEntryPlace& place, std::string& error);

} // namespace zipfmt
