#pragma once
// Reads an archive's central directory: finds the end record (and the Zip64 records when
// present), parses every central header, turns each local-header position into an offset
// in the device (volume start + offset, plus the bias of bytes prepended to the archive),
// and refuses directories whose entries overlap or point outside the archive.

#include "format/ZipRecords.h"
#include "io/ReadDevice.h"

#include <QString>

#include <string>
#include <vector>

namespace zipfmt {

class ZipDirectory {
public:
    std::vector<CentralDirectoryHeader> entries;
    std::vector<uint64_t> dataRangeStart; // device offset of each entry's local header
    std::string comment;
    uint64_t centralDirectoryStart = 0;   // device offset
    uint64_t prependedBytes = 0;          // bytes before the archive not counted in its offsets

    // volumeStarts holds the device offset of each volume's first byte, then the device
    // size. False with errorString() when the directory is missing or damaged.
    bool read(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts);
    QString errorString() const { return m_error; }

private:
    struct Place;
    bool readZip64End(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts, uint64_t endOffset,
                      Place& place);
    bool readEntries(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts, const Place& place);
    bool checkLayout();
    bool fail(const QString& message);

    QString m_error;
};

// Where the archive's data for an entry lies, from its local header.
class LocalEntryPlace {
public:
    uint64_t dataOffset = 0;
    LocalFileHeader header;

    // Reads the local header at offset; false with errorString() when it is missing or the
    // entry's data would run past the end of the device.
    bool read(const zipio::ReadDevice& device, uint64_t offset, uint64_t compressedSize);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

} // namespace zipfmt
