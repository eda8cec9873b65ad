#include "ZipReader.h"

#include "codec/ZipCrypto.h"
#include "format/ZipDirectory.h"
#include "io/EntryStreams.h"
#include "io/ReadWindow.h"

#include <QFileInfo>

namespace {

// Entries up to this size inflate in one call into a buffer of their declared size.
constexpr uint64_t kWholeBufferLimit = 32ull << 20;

const QString kWrongPassword = QStringLiteral("wrong password (or damaged data)");
const QString kAborted = QStringLiteral("aborted");
const QString kReadError = QStringLiteral("read error");
const QString kDamagedDeflate = QStringLiteral("damaged deflate data");

QString tooLong(uint64_t recorded) { return QStringLiteral("the data is longer than the recorded size %1").arg(recorded); }

uint8_t checkByte(const zipfmt::CentralDirectoryHeader& h)
{
    return (h.flags & zipfmt::kFlagDataDescriptor) ? uint8_t(h.time >> 8) : uint8_t(h.crc >> 24);
}

} // namespace

QStringList ZipReader::volumePaths(const QString& zipPath)
{
    // name.zip is the last volume; name.z01, name.z02, ... come first when they exist.
    const QFileInfo info(zipPath);
    const QString stem = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".z");
    QStringList paths;
    for (int i = 1; i < 100000; ++i) {
        const QString part = stem + QString::number(i).rightJustified(2, QLatin1Char('0'));
        if (!QFileInfo(part).isFile())
            break;
        paths << part;
    }
    paths << zipPath;
    return paths;
}

bool ZipReader::open(const QString& path)
{
    // A name.zip is taken alone first; only when that fails for want of its other volumes
    // are name.z01, name.z02, ... joined in front of it.
    if (openVolumes({path}))
        return true;
    const QStringList set = volumePaths(path);
    return set.size() > 1 && openVolumes(set);
}

bool ZipReader::openVolumes(const QStringList& paths)
{
    close();
    std::vector<std::unique_ptr<zipio::FileDevice>> volumes;
    for (const QString& part : paths) {
        auto device = std::make_unique<zipio::FileDevice>();
        if (!device->open(part)) {
            m_error = QStringLiteral("zip: %1").arg(device->errorString());
            return false;
        }
        volumes.push_back(std::move(device));
    }
    m_volumes = volumes.size();
    auto set = std::make_unique<zipio::VolumeSet>(std::move(volumes));
    std::vector<uint64_t> starts;
    for (size_t i = 0; i <= set->volumeCount(); ++i)
        starts.push_back(set->volumeStart(i));
    m_device = std::move(set);
    return load(paths.last(), starts);
}

bool ZipReader::openMemory(const uint8_t* data, size_t size)
{
    close();
    m_device = std::make_unique<zipio::MemoryDevice>(data, size);
    m_volumes = 1;
    return load(QStringLiteral("the archive in memory"), {0, size});
}

bool ZipReader::load(const QString& path, const std::vector<uint64_t>& volumeStarts)
{
    zipfmt::ZipDirectory dir;
    if (!dir.read(*m_device, volumeStarts)) {
        m_error = QStringLiteral("zip: cannot open %1: %2").arg(path, dir.errorString());
        m_device.reset();
        return false;
    }
    m_window = std::make_unique<zipio::ReadWindow>(*m_device);
    m_entries.reserve(dir.entries.size());
    for (size_t i = 0; i < dir.entries.size(); ++i) {
        ZipEntry e;
        e.header = std::move(dir.entries[i]);
        e.FileName = zipfmt::decodeName(e.header).replace(QLatin1Char('\\'), QLatin1Char('/'));
        e.offset = dir.dataRangeStart[i];
        m_entries.push_back(std::move(e));
    }
    return true;
}

void ZipReader::close()
{
    m_window.reset();
    m_device.reset();
    m_entries.clear();
    m_volumes = 0;
    m_error.clear();
}

ZipReader::Status ZipReader::entryFailed(const ZipEntry& entry, Status status, const QString& why)
{
    m_error = QStringLiteral("zip: entry '%1': %2").arg(entry.FileName, why);
    return status;
}

bool ZipReader::rawRange(const ZipEntry& entry, uint64_t& start, uint64_t& length)
{
    zipfmt::LocalEntryPlace place;
    if (!place.read(*m_device, entry.offset, entry.header.compressedSize)) {
        entryFailed(entry, Status::Damaged, place.errorString());
        return false;
    }
    start = entry.offset;
    length = place.dataOffset + entry.header.compressedSize - entry.offset;
    if (entry.header.flags & zipfmt::kFlagDataDescriptor) {
        // The descriptor may or may not carry its signature, and has 8-byte sizes for Zip64
        // entries: large ones, and those whose local header announced Zip64 because their
        // size was unknown when it was written (a stream of unknown length).
        uint8_t sig[4];
        const uint64_t after = start + length;
        const bool signed_ = m_device->readAt(after, sig, 4) && zipfmt::readLE32(sig) == zipfmt::kDataDescriptorSignature;
        const auto& h = entry.header;
        const auto& local = place.header;
        const bool zip64 = h.compressedSize >= zipfmt::kMax32 || h.uncompressedSize >= zipfmt::kMax32
            || local.compressedSize == zipfmt::kMax32 || local.uncompressedSize == zipfmt::kMax32;
        const uint64_t body = zip64 ? 20 : 12;
        const uint64_t descriptor = (signed_ ? 4 : 0) + body;
        if (zipio::rangeInside(after, descriptor, m_device->size()))
            length += descriptor;
    }
    return true;
}

ZipReader::Status ZipReader::read(const ZipEntry& entry, const std::string& password, const zipcodec::ByteSink& sink,
                                  const std::function<bool(int)>& progress)
{
    const auto& h = entry.header;
    if (h.method != zipfmt::kMethodStored && h.method != zipfmt::kMethodDeflated)
        return entryFailed(entry, Status::Unsupported, QStringLiteral("compression method %1 is not supported").arg(h.method));
    if (h.flags & 0x0040)
        return entryFailed(entry, Status::Unsupported, QStringLiteral("strong encryption is not supported"));
    zipfmt::LocalEntryPlace place;
    if (!place.read(*m_window, entry.offset, h.compressedSize))
        return entryFailed(entry, Status::Damaged, place.errorString());
    uint64_t dataOffset = place.dataOffset;
    uint64_t dataLength = h.compressedSize;
    std::unique_ptr<zipcodec::ZipCrypto> cipher;
    if (entry.IsEncrypted()) {
        if (password.empty())
            return entryFailed(entry, Status::NeedPassword, QStringLiteral("a password is needed"));
        uint8_t header[zipcodec::ZipCrypto::kHeaderSize];
        if (dataLength < sizeof header || !m_window->readAt(dataOffset, header, sizeof header))
            return entryFailed(entry, Status::Damaged, QStringLiteral("the encryption header is missing"));
        cipher = std::make_unique<zipcodec::ZipCrypto>(password);
        if (!cipher->acceptHeader(header, checkByte(h)))
            return entryFailed(entry, Status::WrongPassword, kWrongPassword);
        dataOffset += sizeof header;
        dataLength -= sizeof header;
    }

    // Every entry reports at least its start and its end, so Abort is seen for each one.
    const auto report = [&](int percent) { return !progress || progress(percent); };
    if (!report(0))
        return entryFailed(entry, Status::Aborted, kAborted);
    zipio::CrcCheckingSink checked(h.uncompressedSize, sink);
    const zipcodec::ByteSink checkedSink = [&](const uint8_t* d, size_t n) { return checked(d, n); };
    zipio::RangeSource source(*m_window, dataOffset, dataLength);
    std::vector<uint8_t> chunk;
    bool streamEnded = h.method == zipfmt::kMethodStored;

    if (h.method == zipfmt::kMethodDeflated && h.uncompressedSize <= kWholeBufferLimit && dataLength <= kWholeBufferLimit) {
        std::vector<uint8_t> in(static_cast<size_t>(dataLength));
        if (!m_window->readAt(dataOffset, in.data(), in.size()))
            return entryFailed(entry, Status::Damaged, kReadError);
        if (cipher)
            cipher->decrypt(in.data(), in.size());
        std::vector<uint8_t> out(size_t(h.uncompressedSize));
        const auto result = zipcodec::inflateBuffer(in.data(), in.size(), out.data(), out.size());
        if (result != zipcodec::InflateResult::Ok && cipher)
            return entryFailed(entry, Status::WrongPassword, kWrongPassword);
        if (result == zipcodec::InflateResult::TooLong)
            return entryFailed(entry, Status::Damaged, tooLong(h.uncompressedSize));
        if (result == zipcodec::InflateResult::Damaged)
            return entryFailed(entry, Status::Damaged, kDamagedDeflate);
        if (!report(100))
            return entryFailed(entry, Status::Aborted, kAborted);
        checkedSink(out.data(), out.size());
        streamEnded = true;
    } else {
        zipcodec::InflateStream inflater;
        while (source.consumed() < source.total()) {
            if (!source.next(chunk))
                return entryFailed(entry, Status::Damaged, kReadError);
            if (cipher)
                cipher->decrypt(chunk.data(), chunk.size());
            if (h.method == zipfmt::kMethodStored) {
                checkedSink(chunk.data(), chunk.size());
            } else if (!streamEnded) {
                const auto st = inflater.write(chunk.data(), chunk.size(), checkedSink);
                if (st == zipcodec::InflateStream::Status::Error && !checked.overflowed() && !checked.sinkFailed()) {
                    return cipher ? entryFailed(entry, Status::WrongPassword, kWrongPassword)
                                  : entryFailed(entry, Status::Damaged, kDamagedDeflate);
                }
                streamEnded = st == zipcodec::InflateStream::Status::End;
            }
            if (checked.overflowed() || checked.sinkFailed())
                break;
            if (!report(int(100 * source.consumed() / std::max<uint64_t>(1, source.total()))))
                return entryFailed(entry, Status::Aborted, kAborted);
        }
    }
    if (checked.sinkFailed())
        return entryFailed(entry, Status::SinkFailed, QStringLiteral("the extracted bytes could not be written"));
    if (checked.overflowed())
        return entryFailed(entry, Status::Damaged, tooLong(h.uncompressedSize));
    if (cipher && (!streamEnded || !checked.complete(h.crc)))
        return entryFailed(entry, Status::WrongPassword, kWrongPassword);
    if (!streamEnded)
        return entryFailed(entry, Status::Damaged, QStringLiteral("the compressed data ends early"));
    if (!checked.complete(h.crc))
        return entryFailed(entry, Status::CrcMismatch, QStringLiteral("CRC mismatch, the data is damaged"));
    return Status::Ok;
}
