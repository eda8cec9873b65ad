#include "format/ZipRecords.h"

#include <algorithm>

namespace zipfmt {

bool LocalFileHeader::parseFixed(ByteReader& in, uint16_t& nameLength, uint16_t& extraLength)
{
    return in.u16(versionNeeded) && in.u16(flags) && in.u16(method) && in.u16(time) && in.u16(date)
        && in.u32(crc) && in.u32(compressedSize) && in.u32(uncompressedSize) && in.u16(nameLength)
        && in.u16(extraLength);
}

std::string LocalFileHeader::write() const
{
    ByteWriter w;
    w.u32(kLocalHeaderSignature);
    w.u16(versionNeeded);
    w.u16(flags);
    w.u16(method);
    w.u16(time);
    w.u16(date);
    w.u32(crc);
    w.u32(compressedSize);
    w.u32(uncompressedSize);
    w.u16(uint16_t(name.size()));
    w.u16(uint16_t(extra.size()));
    w.bytes(name);
    w.bytes(extra);
    return w.take();
}

namespace {

// Replaces the 32-bit placeholders of a central header by the Zip64 extra's values, which
// appear only for the fields that hold the placeholder, in this fixed order.
bool resolveZip64(CentralDirectoryHeader& h, uint32_t size32, uint32_t comp32, uint32_t offset32, uint16_t disk16)
{
    const bool any = size32 == kMax32 || comp32 == kMax32 || offset32 == kMax32 || disk16 == kMax16;
    const auto block = findExtra(h.extra, kExtraZip64);
    h.extra = removeExtra(h.extra, kExtraZip64);
    if (!any)
        return true;
    if (!block)
        return true; // a real 0xFFFFFFFF size without Zip64 is possible in old archives
    ByteReader r(reinterpret_cast<const uint8_t*>(block->data()), block->size());
    if (size32 == kMax32 && !r.u64(h.uncompressedSize))
        return false;
    if (comp32 == kMax32 && !r.u64(h.compressedSize))
        return false;
    if (offset32 == kMax32 && !r.u64(h.localHeaderOffset))
        return false;
    if (disk16 == kMax16 && !r.u32(h.diskStart))
        return false;
    return true;
}

} // namespace

bool CentralDirectoryHeader::parse(ByteReader& in)
{
    uint32_t comp32 = 0, size32 = 0, offset32 = 0;
    uint16_t disk16 = 0, nameLength = 0, extraLength = 0, commentLength = 0;
    if (!(in.u16(versionMadeBy) && in.u16(versionNeeded) && in.u16(flags) && in.u16(method) && in.u16(time)
          && in.u16(date) && in.u32(crc) && in.u32(comp32) && in.u32(size32) && in.u16(nameLength)
          && in.u16(extraLength) && in.u16(commentLength) && in.u16(disk16) && in.u16(internalAttributes)
          && in.u32(externalAttributes) && in.u32(offset32)))
        return false;
    if (!(in.bytes(name, nameLength) && in.bytes(extra, extraLength) && in.bytes(comment, commentLength)))
        return false;
    compressedSize = comp32;
    uncompressedSize = size32;
    localHeaderOffset = offset32;
    diskStart = disk16;
    return resolveZip64(*this, size32, comp32, offset32, disk16);
}

bool CentralDirectoryHeader::needsZip64() const
{
    return compressedSize >= kMax32 || uncompressedSize >= kMax32 || localHeaderOffset >= kMax32
        || diskStart >= kMax16;
}

std::string CentralDirectoryHeader::write() const
{
    ByteWriter z64;
    if (uncompressedSize >= kMax32)
        z64.u64(uncompressedSize);
    if (compressedSize >= kMax32)
        z64.u64(compressedSize);
    if (localHeaderOffset >= kMax32)
        z64.u64(localHeaderOffset);
    if (diskStart >= kMax16)
        z64.u32(diskStart);
    const std::string allExtra = z64.data().empty() ? extra : extraBlock(kExtraZip64, z64.data()) + extra;

    ByteWriter w;
    w.u32(kCentralHeaderSignature);
    w.u16(versionMadeBy);
    w.u16(needsZip64() && uint8_t(versionNeeded) < 45 ? uint16_t(45) : versionNeeded);
    w.u16(flags);
    w.u16(method);
    w.u16(time);
    w.u16(date);
    w.u32(crc);
    w.u32(compressedSize >= kMax32 ? kMax32 : uint32_t(compressedSize));
    w.u32(uncompressedSize >= kMax32 ? kMax32 : uint32_t(uncompressedSize));
    w.u16(uint16_t(name.size()));
    w.u16(uint16_t(allExtra.size()));
    w.u16(uint16_t(comment.size()));
    w.u16(diskStart >= kMax16 ? kMax16 : uint16_t(diskStart));
    w.u16(internalAttributes);
    w.u32(externalAttributes);
    w.u32(localHeaderOffset >= kMax32 ? kMax32 : uint32_t(localHeaderOffset));
    w.bytes(name);
    w.bytes(allExtra);
    w.bytes(comment);
    return w.take();
}

bool EndOfCentralDirectory::parse(ByteReader& in)
{
    uint16_t commentLength = 0;
    if (!(in.u16(disk) && in.u16(centralDirectoryDisk) && in.u16(entriesOnDisk) && in.u16(totalEntries)
          && in.u32(centralDirectorySize) && in.u32(centralDirectoryOffset) && in.u16(commentLength)))
        return false;
    // A comment cut short by the end of the file is taken as far as it goes.
    return in.bytes(comment, std::min<size_t>(commentLength, in.left()));
}

std::string EndOfCentralDirectory::write() const
{
    ByteWriter w;
    w.u32(kEndSignature);
    w.u16(disk);
    w.u16(centralDirectoryDisk);
    w.u16(entriesOnDisk);
    w.u16(totalEntries);
    w.u32(centralDirectorySize);
    w.u32(centralDirectoryOffset);
    w.u16(uint16_t(comment.size()));
    w.bytes(comment);
    return w.take();
}

bool Zip64EndOfCentralDirectory::parse(ByteReader& in)
{
    uint64_t recordSize = 0;
    return in.u64(recordSize) && in.u16(versionMadeBy) && in.u16(versionNeeded) && in.u32(disk)
        && in.u32(centralDirectoryDisk) && in.u64(entriesOnDisk) && in.u64(totalEntries)
        && in.u64(centralDirectorySize) && in.u64(centralDirectoryOffset);
}

std::string Zip64EndOfCentralDirectory::write() const
{
    ByteWriter w;
    w.u32(kZip64EndSignature);
    w.u64(kFixedSize - 12);
    w.u16(versionMadeBy);
    w.u16(versionNeeded);
    w.u32(disk);
    w.u32(centralDirectoryDisk);
    w.u64(entriesOnDisk);
    w.u64(totalEntries);
    w.u64(centralDirectorySize);
    w.u64(centralDirectoryOffset);
    return w.take();
}

bool Zip64Locator::parse(ByteReader& in)
{
    return in.u32(endDisk) && in.u64(endOffset) && in.u32(totalDisks);
}

std::string Zip64Locator::write() const
{
    ByteWriter w;
    w.u32(kZip64LocatorSignature);
    w.u32(endDisk);
    w.u64(endOffset);
    w.u32(totalDisks);
    return w.take();
}

std::string DataDescriptor::write() const
{
    ByteWriter w;
    w.u32(kDataDescriptorSignature);
    w.u32(crc);
    if (zip64) {
        w.u64(compressedSize);
        w.u64(uncompressedSize);
    } else {
        w.u32(uint32_t(compressedSize));
        w.u32(uint32_t(uncompressedSize));
    }
    return w.take();
}

bool needsZip64End(const EndPlace& p)
{
    return p.entries >= kMax16 || p.centralSize >= kMax32 || p.centralOffset >= kMax32 || p.endDisk >= kMax16;
}

std::string writeEndRecords(const EndPlace& p, const std::string& comment)
{
    std::string records;
    if (needsZip64End(p)) {
        Zip64EndOfCentralDirectory e64;
        e64.disk = p.endDisk;
        e64.centralDirectoryDisk = p.centralDisk;
        e64.entriesOnDisk = p.entriesOnLastDisk;
        e64.totalEntries = p.entries;
        e64.centralDirectorySize = p.centralSize;
        e64.centralDirectoryOffset = p.centralOffset;
        Zip64Locator locator;
        locator.endDisk = p.endDisk;
        locator.endOffset = p.endOffset;
        locator.totalDisks = p.endDisk + 1;
        records = e64.write() + locator.write();
    }
    EndOfCentralDirectory eocd;
    eocd.disk = uint16_t(std::min<uint64_t>(p.endDisk, kMax16));
    eocd.centralDirectoryDisk = uint16_t(std::min<uint64_t>(p.centralDisk, kMax16));
    eocd.entriesOnDisk = uint16_t(std::min<uint64_t>(p.entriesOnLastDisk, kMax16));
    eocd.totalEntries = uint16_t(std::min<uint64_t>(p.entries, kMax16));
    eocd.centralDirectorySize = uint32_t(std::min<uint64_t>(p.centralSize, kMax32));
    eocd.centralDirectoryOffset = uint32_t(std::min<uint64_t>(p.centralOffset, kMax32));
    eocd.comment = comment.substr(0, kMax16);
    return records + eocd.write();
}

std::optional<std::string> findExtra(const std::string& extra, uint16_t id)
{
    ByteReader r(reinterpret_cast<const uint8_t*>(extra.data()), extra.size());
    uint16_t blockId = 0, size = 0;
    std::string data;
    while (r.u16(blockId) && r.u16(size) && r.bytes(data, size)) {
        if (blockId == id)
            return data;
    }
    return std::nullopt;
}

std::string removeExtra(const std::string& extra, uint16_t id)
{
    ByteReader r(reinterpret_cast<const uint8_t*>(extra.data()), extra.size());
    std::string kept;
    uint16_t blockId = 0, size = 0;
    std::string data;
    while (r.u16(blockId) && r.u16(size) && r.bytes(data, size)) {
        if (blockId != id)
            kept += extraBlock(blockId, data);
    }
    return kept;
}

std::string extraBlock(uint16_t id, const std::string& data)
{
    ByteWriter w;
    w.u16(id);
    w.u16(uint16_t(data.size()));
    w.bytes(data);
    return w.take();
}

} // namespace zipfmt
