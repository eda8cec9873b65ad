#pragma once
// One image file directory of a TIFF file: its entries in file order, the offset of the
// next directory and the strip table. Values are read through the owning TFileTiff, so
// every read is bounds-checked against the file.

#include "viewers/tiff/TiffFormat.h"

#include <cstdint>
#include <optional>
#include <vector>

class TFileTiff;

struct TiffStrip {
    uint32_t offset = 0;
    uint32_t byteCount = 0;
};

class TGraphicTiff {
public:
    // Reads the directory at offset. A directory whose entries run past the end of the file
    // keeps the entries that are whole and has its error flag set; its next offset is 0.
    TGraphicTiff(const TFileTiff& owner, uint32_t offset);

    const TFileTiff& owner() const { return m_owner; }
    // The entry count as the file states it; entries() may hold fewer when hasError().
    uint16_t entryCount() const { return m_entryCount; }
    bool hasError() const { return m_error; }
    uint32_t positionAfterEntries() const { return m_afterEntries; }
    const std::vector<tiff::Entry>& entries() const { return m_entries; }
    uint32_t nextOffset() const { return m_nextOffset; }

    // The last entry with the tag, or nullptr.
    const tiff::Entry* findEntry(uint16_t tag) const;

    int stripCount() const { return int(m_strips.size()); }
    // The strip at index, or nothing when index is not below the strip count.
    std::optional<TiffStrip> strip(int index) const;

    // The first value of an entry of an unsigned integer type (BYTE, SHORT, LONG), or
    // nothing when the tag is absent, of another type or has no value.
    std::optional<uint32_t> value(uint16_t tag) const;
    // All values of an entry of an unsigned integer type; nothing when the type is another
    // or the values lie outside the file.
    std::optional<std::vector<uint32_t>> values(const tiff::Entry& entry) const;

private:
    void readEntries(uint32_t offset);
    void buildStripTable();

    const TFileTiff& m_owner;
    uint16_t m_entryCount = 0;
    bool m_error = false;
    uint32_t m_afterEntries = 0;
    uint32_t m_nextOffset = 0;
    std::vector<tiff::Entry> m_entries;
    std::vector<TiffStrip> m_strips;
};
