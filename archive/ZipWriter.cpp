#include "ZipWriter.h"

#include "EntryPreparer.h"
#include "ZipReader.h"
#include "codec/BlockDeflater.h"
#include "codec/Deflate.h"
#include "codec/ZipCrypto.h"
#include "format/ZipDirectory.h"
#include "io/EntryStreams.h"
#include "io/VolumeWriter.h"

#include <QFile>

#include <optional>

using zipfmt::CentralDirectoryHeader;
using zipfmt::LocalFileHeader;

namespace {

const QString kAborted = QStringLiteral("zip: aborted");

// Streamed entries of this size or more get a Zip64 field in their local header up front,
// since their final sizes are only known after the data is written.
constexpr uint64_t kStreamZip64From = 0xFFFF0000ull;

bool isNew(const ZipEntry& e) { return e.action == ZipEntry::Action::Add || e.action == ZipEntry::Action::Replace; }

bool streamed(const ZipEntry& e) { return isNew(e) && e.header.uncompressedSize > EntryPreparer::kInMemoryLimit; }

LocalFileHeader localFor(const CentralDirectoryHeader& c, bool zip64)
{
    LocalFileHeader l;
    l.versionNeeded = zip64 ? 45 : c.versionNeeded;
    l.flags = c.flags;
    l.method = c.method;
    l.time = c.time;
    l.date = c.date;
    l.name = c.name;
    const bool deferred = c.flags & zipfmt::kFlagDataDescriptor;
    if (zip64) {
        l.compressedSize = l.uncompressedSize = zipfmt::kMax32;
        zipfmt::ByteWriter z;
        z.u64(deferred ? 0 : c.uncompressedSize);
        z.u64(deferred ? 0 : c.compressedSize);
        l.extra = zipfmt::extraBlock(zipfmt::kExtraZip64, z.data()) + c.extra;
    } else {
        l.compressedSize = deferred ? 0 : uint32_t(c.compressedSize);
        l.uncompressedSize = deferred ? 0 : uint32_t(c.uncompressedSize);
        l.extra = c.extra;
    }
    l.crc = deferred ? 0 : c.crc;
    return l;
}

void placeAt(CentralDirectoryHeader& c, zipio::VolumeWriter::Position at)
{
    c.diskStart = at.disk;
    c.localHeaderOffset = at.offset;
}

} // namespace

uint64_t ZipWriter::upperBound(const std::vector<ZipEntry>& entries)
{
    // Headers twice (local and central) with room for Zip64 fields, the encryption header
    // and a data descriptor, and deflate's worst-case growth.
    constexpr uint64_t kPerEntry = 2 * (zipfmt::CentralDirectoryHeader::kFixedSize + 32) + 12 + 24 + 64;
    uint64_t total = zipfmt::EndOfCentralDirectory::kFixedSize + zipfmt::Zip64EndOfCentralDirectory::kFixedSize
        + zipfmt::Zip64Locator::kFixedSize;
    for (const auto& e : entries) {
        if (e.action == ZipEntry::Action::Delete)
            continue;
        const uint64_t data = isNew(e) ? e.header.uncompressedSize + e.header.uncompressedSize / 1000 : e.header.compressedSize;
        total += kPerEntry + 2 * (e.header.name.size() + e.header.extra.size()) + e.header.comment.size() + data;
    }
    return total;
}

bool ZipWriter::volumeFailed(const zipio::VolumeWriter& out)
{
    // A failure of this writer's own has its message already; the rest are the output's.
    if (m_error.isEmpty())
        m_error = QStringLiteral("zip: ") + out.errorString();
    return false;
}

bool ZipWriter::advance(uint64_t bytes)
{
    m_doneBytes += bytes;
    if (onProgress && !onProgress(int(100 * m_doneBytes / std::max<uint64_t>(1, m_totalBytes)))) {
        m_aborted = true;
        m_error = kAborted;
        return false;
    }
    return true;
}

bool ZipWriter::write(const std::vector<ZipEntry>& entries, ZipReader* old)
{
    if (m_options.volumeLimit > 0 && m_options.volumeLimit < zipio::VolumeWriter::kMinimumVolume) {
        m_error = QStringLiteral("zip: the spanning threshold must be at least %1 bytes").arg(zipio::VolumeWriter::kMinimumVolume);
        return false;
    }
    std::vector<const ZipEntry*> jobs;
    for (const auto& e : entries) {
        if (e.action == ZipEntry::Action::Delete)
            continue;
        m_totalBytes += isNew(e) ? e.header.uncompressedSize : e.header.compressedSize;
        if (isNew(e) && !streamed(e))
            jobs.push_back(&e);
    }
    EntryPreparer preparer(jobs, m_options.method, m_options.level, m_options.password);
    // An archive sure to fit in one volume is written as a plain archive, which every
    // reader (and the program's own zip-file test) takes; only one that may not fit is
    // split.
    const uint64_t limit = upperBound(entries) <= m_options.volumeLimit ? 0 : m_options.volumeLimit;
    zipio::VolumeWriter out(m_target, limit);
    if (!out.start())
        return volumeFailed(out);
    std::vector<CentralDirectoryHeader> central;
    size_t job = 0;
    for (const auto& e : entries) {
        if (e.action == ZipEntry::Action::Delete)
            continue;
        CentralDirectoryHeader c = e.header;
        bool ok = false;
        if (!isNew(e)) {
            ok = old && copyKept(out, e, *old, c);
        } else if (streamed(e)) {
            ok = writeStreamed(out, e, c);
        } else {
            PreparedEntry p = preparer.take(job++);
            if (!p.error.isEmpty())
                m_error = p.error;
            ok = p.error.isEmpty() && writePrepared(out, p, c);
        }
        if (!ok)
            return volumeFailed(out);
        if (onItemProgress && !onItemProgress(e, 100)) {
            m_aborted = true;
            m_error = kAborted;
            return false;
        }
        central.push_back(std::move(c));
    }
    return (writeDirectory(out, central) && out.commit()) || volumeFailed(out);
}

bool ZipWriter::writePrepared(zipio::VolumeWriter& out, const PreparedEntry& p, CentralDirectoryHeader& central)
{
    central = p.header;
    const bool zip64 = central.compressedSize >= zipfmt::kMax32 || central.uncompressedSize >= zipfmt::kMax32;
    const std::string local = localFor(central, zip64).write();
    if (!out.ensureRoom(local.size()))
        return false;
    placeAt(central, out.position());
    return out.writeWhole(local) && out.write(p.payload.data(), p.payload.size())
        && advance(central.uncompressedSize);
}

bool ZipWriter::copyKept(zipio::VolumeWriter& out, const ZipEntry& entry, ZipReader& old, CentralDirectoryHeader& central)
{
    uint64_t start = 0, length = 0;
    if (!old.rawRange(entry, start, length)) {
        m_error = old.errorString();
        return false;
    }
    zipfmt::LocalEntryPlace place;
    if (!place.read(old.device(), start, entry.header.compressedSize)) {
        m_error = QStringLiteral("zip: entry '%1': %2").arg(entry.FileName, place.errorString());
        return false;
    }
    const uint64_t headerLength = place.dataOffset - start;
    if (!out.ensureRoom(headerLength))
        return false;
    placeAt(central, out.position());
    // The local header goes whole into one volume; the data after it may be split.
    zipio::RangeSource source(old.device(), start, length);
    std::vector<uint8_t> chunk;
    bool first = true;
    while (source.consumed() < source.total()) {
        if (!source.next(chunk)) {
            m_error = QStringLiteral("zip: entry '%1': cannot be read from the archive").arg(entry.FileName);
            return false;
        }
        size_t skip = 0;
        if (first) {
            // Headers are at most 30 + 2 * 65535 bytes, far below a chunk.
            skip = size_t(std::min<uint64_t>(headerLength, chunk.size()));
            if (!out.writeWhole(std::string(reinterpret_cast<char*>(chunk.data()), skip)))
                return false;
            first = false;
        }
        if (!out.write(chunk.data() + skip, chunk.size() - skip))
            return false;
    }
    return advance(entry.header.compressedSize);
}

bool ZipWriter::writeStreamed(zipio::VolumeWriter& out, const ZipEntry& entry, CentralDirectoryHeader& central)
{
    const bool zip64 = entry.header.uncompressedSize >= kStreamZip64From;
    const bool encrypted = !m_options.password.empty();
    if (encrypted)
        central.flags |= zipfmt::kFlagEncrypted | zipfmt::kFlagDataDescriptor;
    // The method is settled by streamData (for the best method, by the first piece read); the
    // local header is written again once the data is complete.
    central.method = m_options.method == ZipCompressionMethod::Stored ? zipfmt::kMethodStored : zipfmt::kMethodDeflated;
    const std::string local = localFor(central, zip64).write();
    if (!out.ensureRoom(local.size()))
        return false;
    const auto headerAt = out.position();
    placeAt(central, headerAt);
    if (!out.writeWhole(local))
        return false;
    const auto dataAt = out.position();
    const uint64_t doneBefore = m_doneBytes;
    bool grew = false;
    if (!streamData(out, entry, m_options.method, central, grew))
        return false;
    if (grew && m_options.method == ZipCompressionMethod::Best) {
        // Deflating made it bigger: write it again, stored.
        m_doneBytes = doneBefore;
        if (!out.truncate(dataAt) || !streamData(out, entry, ZipCompressionMethod::Stored, central, grew))
            return false;
    }
    if (encrypted) {
        zipfmt::DataDescriptor d{central.crc, central.compressedSize, central.uncompressedSize, zip64};
        if (!out.writeWhole(d.write()))
            return false;
    }
    return out.patch(headerAt, localFor(central, zip64).write());
}

bool ZipWriter::streamData(zipio::VolumeWriter& out, const ZipEntry& entry, ZipCompressionMethod method,
                           CentralDirectoryHeader& central, bool& grew)
{
    QFile file(entry.sourcePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_error = QStringLiteral("zip: cannot read %1: %2").arg(entry.sourcePath, file.errorString());
        return false;
    }
    std::unique_ptr<zipcodec::ZipCrypto> cipher;
    uint64_t packed = 0;
    if (!m_options.password.empty()) {
        cipher = std::make_unique<zipcodec::ZipCrypto>(m_options.password);
        const std::string header = cipher->makeHeader(uint8_t(central.time >> 8));
        if (!out.write(header.data(), header.size()))
            return false;
        packed += header.size();
    }
    std::vector<uint8_t> scratch;
    const zipcodec::ByteSink sink = [&](const uint8_t* d, size_t n) {
        const uint8_t* p = d;
        if (cipher) {
            scratch.assign(d, d + n);
            cipher->encrypt(scratch.data(), n);
            p = scratch.data();
        }
        packed += n;
        return out.write(p, n);
    };
    // The file is read piece by piece straight into the deflater's buffers.
    std::optional<zipcodec::BlockDeflater> deflater;
    if (method != ZipCompressionMethod::Stored)
        deflater.emplace(m_options.level, EntryPreparer::threadCount());
    std::vector<uint8_t> buffer = deflater ? deflater->takeBuffer() : std::vector<uint8_t>(zipcodec::BlockDeflater::kBlockSize);
    uint32_t crc = 0;
    uint64_t size = 0;
    for (;;) {
        buffer.resize(zipcodec::BlockDeflater::kBlockSize);
        const qint64 got = file.read(reinterpret_cast<char*>(buffer.data()), qint64(buffer.size()));
        if (got < 0) {
            m_error = QStringLiteral("zip: cannot read %1: %2").arg(entry.sourcePath, file.errorString());
            return false;
        }
        buffer.resize(size_t(got));
        crc = zipcodec::crc32(crc, buffer.data(), buffer.size());
        // The best method stores an entry whose first piece does not deflate (media,
        // archives, random bytes): trying the rest would only cost time.
        if (size == 0 && method == ZipCompressionMethod::Best
            && zipcodec::looksIncompressible(buffer.size(), m_options.level, [&](uint64_t at) { return buffer.data() + at; }))
            deflater.reset();
        size += uint64_t(got);
        const bool last = got == 0;
        bool ok = false;
        if (deflater) {
            ok = deflater->submit(std::move(buffer), last, sink);
            buffer = deflater->takeBuffer();
        } else {
            ok = sink(buffer.data(), buffer.size());
        }
        if (!ok)
            return false;
        if (last)
            break;
        if (!advance(uint64_t(got)))
            return false;
        if (onItemProgress && !onItemProgress(entry, int(100 * size / std::max<uint64_t>(1, entry.header.uncompressedSize)))) {
            m_aborted = true;
            m_error = kAborted;
            return false;
        }
    }
    central.method = deflater ? zipfmt::kMethodDeflated : zipfmt::kMethodStored;
    central.crc = crc;
    central.uncompressedSize = size;
    central.compressedSize = packed;
    grew = deflater && packed - (cipher ? zipcodec::ZipCrypto::kHeaderSize : 0) >= size;
    return true;
}

bool ZipWriter::writeDirectory(zipio::VolumeWriter& out, const std::vector<CentralDirectoryHeader>& central)
{
    std::vector<std::string> records;
    uint64_t size = 0;
    for (const auto& c : central) {
        records.push_back(c.write());
        size += records.back().size();
    }
    if (!records.empty() && !out.ensureRoom(records.front().size()))
        return false;
    const auto start = out.position();
    uint64_t onLastDisk = 0;
    uint32_t disk = start.disk;
    for (const auto& r : records) {
        if (!out.writeWhole(r))
            return false;
        if (out.position().disk != disk) {
            disk = out.position().disk;
            onLastDisk = 0;
        }
        ++onLastDisk;
    }
    zipfmt::EndPlace place;
    place.centralDisk = start.disk;
    place.centralOffset = start.offset;
    place.centralSize = size;
    place.entries = central.size();
    const size_t tailSize = (zipfmt::needsZip64End(place)
                                 ? zipfmt::Zip64EndOfCentralDirectory::kFixedSize + zipfmt::Zip64Locator::kFixedSize
                                 : 0)
        + zipfmt::EndOfCentralDirectory::kFixedSize;
    if (!out.ensureRoom(tailSize))
        return false;
    place.endDisk = out.position().disk;
    place.endOffset = out.position().offset;
    place.entriesOnLastDisk = place.endDisk == disk ? onLastDisk : 0;
    return out.writeWhole(zipfmt::writeEndRecords(place, std::string()));
}
