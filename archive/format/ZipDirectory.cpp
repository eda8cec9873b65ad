#include "format/ZipDirectory.h"

#include <algorithm>
#include <numeric>

namespace zipfmt {

namespace {

constexpr uint64_t kMaxCommentSearch = 0xFFFF + EndOfCentralDirectory::kFixedSize;

// The last end-of-central-directory signature in the file's tail.
bool findEnd(const zipio::ReadDevice& device, uint64_t& endOffset, EndOfCentralDirectory& end)
{
    const uint64_t size = device.size();
    if (size < EndOfCentralDirectory::kFixedSize)
        return false;
    const uint64_t tailStart = size > kMaxCommentSearch ? size - kMaxCommentSearch : 0;
    std::string tail(size_t(size - tailStart), '\0');
    if (!device.readAt(tailStart, tail.data(), tail.size()))
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(tail.data());
    for (size_t i = tail.size() - EndOfCentralDirectory::kFixedSize + 1; i-- > 0;) {
        if (readLE32(bytes + i) != kEndSignature)
            continue;
        ByteReader r(bytes + i + 4, tail.size() - i - 4);
        if (end.parse(r)) {
            endOffset = tailStart + i;
            return true;
        }
    }
    return false;
}

} // namespace

struct ZipDirectory::Place {
    uint32_t disk = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint64_t entries = 0;
    uint64_t recordsEnd = 0; // device offset where the end records begin
};

bool ZipDirectory::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool ZipDirectory::readZip64End(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts,
                                uint64_t endOffset, Place& place)
{
    if (endOffset < Zip64Locator::kFixedSize)
        return true;
    uint8_t buf[Zip64Locator::kFixedSize];
    if (!device.readAt(endOffset - sizeof buf, buf, sizeof buf) || readLE32(buf) != kZip64LocatorSignature)
        return true;
    Zip64Locator locator;
    ByteReader lr(buf + 4, sizeof buf - 4);
    locator.parse(lr);
    if (locator.endDisk >= volumeStarts.size() - 1 || locator.endOffset > device.size())
        return fail(QStringLiteral("the Zip64 end record names a missing volume"));
    const uint64_t at = volumeStarts[locator.endDisk] + locator.endOffset;
    uint8_t rec[Zip64EndOfCentralDirectory::kFixedSize];
    Zip64EndOfCentralDirectory end64;
    ByteReader er(rec + 4, sizeof rec - 4);
    if (!device.readAt(at, rec, sizeof rec) || readLE32(rec) != kZip64EndSignature || !end64.parse(er))
        return fail(QStringLiteral("the Zip64 end record is missing or damaged"));
    place.disk = end64.centralDirectoryDisk;
    place.offset = end64.centralDirectoryOffset;
    place.size = end64.centralDirectorySize;
    place.entries = end64.totalEntries;
    place.recordsEnd = at;
    return true;
}

// Checks that no two entries share bytes and that each lies before the central directory:
// overlapping entries are the trick of zip bombs that reuse one compressed stream.
bool ZipDirectory::checkLayout()
{
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return dataRangeStart[a] < dataRangeStart[b]; });
    for (size_t k = 0; k < order.size(); ++k) {
        const auto& h = entries[order[k]];
        const uint64_t start = dataRangeStart[order[k]];
        const uint64_t limit = k + 1 < order.size() ? dataRangeStart[order[k + 1]] : centralDirectoryStart;
        const uint64_t minimum = LocalFileHeader::kFixedSize + h.name.size();
        if (start > limit || limit - start < minimum || limit - start - minimum < h.compressedSize)
            return fail(QStringLiteral("entries overlap or run into the central directory (damaged archive or zip bomb)"));
    }
    return true;
}

bool ZipDirectory::read(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts)
{
    uint64_t endOffset = 0;
    EndOfCentralDirectory end;
    if (!findEnd(device, endOffset, end))
        return fail(QStringLiteral("no end of central directory record: not a zip archive, or a truncated one"));
    comment = end.comment;
    Place place{end.centralDirectoryDisk, end.centralDirectoryOffset, end.centralDirectorySize, end.totalEntries, endOffset};
    if (!readZip64End(device, volumeStarts, endOffset, place))
        return false;
    const size_t volumes = volumeStarts.size() - 1;
    if (place.offset > device.size() || place.size > device.size())
        return fail(QStringLiteral("the central directory lies outside the file"));
    if (place.disk >= volumes) {
        return fail(volumes == 1 ? QStringLiteral("this is the last part of a split archive whose other parts are missing")
                                 : QStringLiteral("the central directory names a missing volume"));
    }
    // Bytes prepended to the archive (a self-extractor stub that did not move the offsets)
    // show as the gap between where the directory ends and where the end records begin.
    const uint64_t expectedEnd = volumeStarts[place.disk] + place.offset + place.size;
    if (expectedEnd > place.recordsEnd)
        return fail(QStringLiteral("the central directory lies outside the file"));
    prependedBytes = volumes == 1 ? place.recordsEnd - expectedEnd : 0;
    centralDirectoryStart = volumeStarts[place.disk] + place.offset + prependedBytes;
    if (centralDirectoryStart > place.recordsEnd || place.size > place.recordsEnd - centralDirectoryStart)
        return fail(QStringLiteral("the central directory lies outside the file"));
    return readEntries(device, volumeStarts, place) && checkLayout();
}

bool ZipDirectory::readEntries(const zipio::ReadDevice& device, const std::vector<uint64_t>& volumeStarts,
                               const Place& place)
{
    const size_t volumes = volumeStarts.size() - 1;
    std::string cd(size_t(place.size), '\0');
    if (!device.readAt(centralDirectoryStart, cd.data(), cd.size()))
        return fail(QStringLiteral("cannot read the central directory"));
    ByteReader r(reinterpret_cast<const uint8_t*>(cd.data()), cd.size());
    uint32_t signature = 0;
    while (r.u32(signature) && signature == kCentralHeaderSignature) {
        CentralDirectoryHeader h;
        if (!h.parse(r))
            return fail(QStringLiteral("a central directory record is cut short"));
        if (h.diskStart >= volumes)
            return fail(QStringLiteral("an entry lies on a missing volume"));
        if (h.localHeaderOffset > device.size())
            return fail(QStringLiteral("an entry's offset lies outside the archive"));
        dataRangeStart.push_back(volumeStarts[h.diskStart] + h.localHeaderOffset + prependedBytes);
        entries.push_back(std::move(h));
    }
    if (entries.size() != place.entries && (place.entries & 0xFFFF) != (entries.size() & 0xFFFF)) {
        return fail(QStringLiteral("the central directory holds %1 entries, the end record says %2")
                        .arg(entries.size()).arg(place.entries));
    }
    return true;
}

bool LocalEntryPlace::read(const zipio::ReadDevice& device, uint64_t offset, uint64_t compressedSize)
{
    uint8_t fixed[LocalFileHeader::kFixedSize];
    if (!device.readAt(offset, fixed, sizeof fixed) || readLE32(fixed) != kLocalHeaderSignature) {
        m_error = QStringLiteral("local header missing at its recorded offset");
        return false;
    }
    ByteReader r(fixed + 4, sizeof fixed - 4);
    uint16_t nameLength = 0, extraLength = 0;
    header.parseFixed(r, nameLength, extraLength);
    dataOffset = offset + LocalFileHeader::kFixedSize + nameLength + extraLength;
    if (!zipio::rangeInside(dataOffset, compressedSize, device.size())) {
        m_error = QStringLiteral("entry data runs past the end of the archive");
        return false;
    }
    return true;
}

} // namespace zipfmt
