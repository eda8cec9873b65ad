#include "TFolZipFix.h"

#include "format/ZipNames.h"
#include "format/ZipRecords.h"
#include "io/RangeCopier.h"

#include <cstring>

using namespace zipfmt;

namespace {

const uint8_t kLocalSignature[4] = {0x50, 0x4B, 0x03, 0x04};
const uint8_t kDescriptorSignature[4] = {0x50, 0x4B, 0x07, 0x08};
// A candidate's fixed record must lie inside the input: a local header with at least one
// name byte after it, a descriptor with nothing after it, since the last entry's descriptor
// ends the input wherever a download was cut just after the entries (no central directory).
constexpr uint64_t kLocalMinimumTail = 31;
constexpr uint64_t kDescriptorMinimumTail = 16;
constexpr uint64_t kZip64DescriptorSize = 24;
// Longest name a candidate header may carry: the longest path this system can create. Real
// archives hold paths far beyond 80 bytes, and refusing them would drop intact entries from
// the rebuilt archive; the control-byte check below still weeds out false headers.
constexpr uint16_t kMaxNameLength = 4096;
constexpr uint64_t kEncryptionHeader = 12;
// Entries that follow each other are copied in one range of at most this many bytes, so that
// a copy from a mapped input keeps few of its pages resident.
constexpr uint64_t kRangeLimit = 16u << 20;
constexpr uint64_t kSearchStep = 8u << 20;

QString displayName(const std::string& bytes, uint16_t flags)
{
    CentralDirectoryHeader h;
    h.name = bytes;
    h.flags = flags;
    h.versionMadeBy = 3 << 8; // raw names that are valid UTF-8 are taken as UTF-8
    return decodeName(h);
}

} // namespace

int64_t TFolZipFix::search(const uint8_t* signature, uint64_t from, uint64_t minimumTail, uint64_t until) const
{
    // memchr runs through the bytes many at a time; the signature's first byte ("P") is rare
    // in compressed data and in lowercase text, so few hits need the full compare.
    const uint64_t tail = std::max<uint64_t>(minimumTail, 4);
    if (tail > m_inputSize || until == 0)
        return -1;
    const uint64_t last = std::min(m_inputSize - tail, until - 1);
    for (uint64_t c = from; c <= last; ++c) {
        const void* hit = std::memchr(m_input + c, signature[0], size_t(last - c + 1));
        if (!hit)
            return -1;
        c = uint64_t(static_cast<const uint8_t*>(hit) - m_input);
        if (std::memcmp(m_input + c + 1, signature + 1, 3) == 0)
            return int64_t(c);
    }
    return -1;
}

void TFolZipFix::reject(const std::string& name)
{
    if (OnFileFound)
        OnFileFound(this, name.empty() ? QString() : displayName(name, 0), false);
}

bool TFolZipFix::readDescriptor(uint64_t d, bool zip64, TFileInfo& info, uint64_t& end)
{
    // Only the first descriptor found after the data start is considered.
    const int64_t found = search(kDescriptorSignature, d, kDescriptorMinimumTail);
    if (found < 0)
        return false;
    const uint64_t at = uint64_t(found);
    info.crc = readLE32(m_input + at + 4);
    if (zip64) {
        if (kZip64DescriptorSize > m_inputSize - at)
            return false;
        info.compressedSize = readLE64(m_input + at + 8);
        info.uncompressedSize = readLE64(m_input + at + 16);
        end = at + kZip64DescriptorSize;
    } else {
        info.compressedSize = readLE32(m_input + at + 8);
        info.uncompressedSize = readLE32(m_input + at + 12);
        end = at + 16;
    }
    return at - d == info.compressedSize;
}

bool TFolZipFix::readZip64Sizes(uint64_t extraStart, uint16_t extraLength, TFileInfo& info)
{
    const bool full = info.compressedSize == kMax32 || info.uncompressedSize == kMax32;
    m_extra.assign(reinterpret_cast<const char*>(m_input + extraStart), extraLength);
    const auto z = findExtra(m_extra, kExtraZip64);
    // The field holds both sizes when both 32-bit fields are full, as writers set them.
    if (full && z && z->size() >= 16) {
        info.uncompressedSize = readLE64(reinterpret_cast<const uint8_t*>(z->data()));
        info.compressedSize = readLE64(reinterpret_cast<const uint8_t*>(z->data() + 8));
    }
    return full || z.has_value();
}

bool TFolZipFix::scanCandidate(uint64_t h, uint64_t& end)
{
    // Every field a candidate sets is set here; the others keep their zero.
    TFileInfo& info = m_info;
    ByteReader fixed(m_input + h + 4, 26);
    LocalFileHeader local;
    uint16_t n = 0, e = 0;
    local.parseFixed(fixed, n, e);
    info.versionNeeded = local.versionNeeded;
    info.flags = local.flags;
    info.method = local.method;
    info.time = local.time;
    info.date = local.date;
    info.crc = local.crc;
    info.compressedSize = local.compressedSize;
    info.uncompressedSize = local.uncompressedSize;
    info.nameLength = n;
    info.extraLength = e;
    info.localHeaderOffset = h;
    if (n == 0 || n > kMaxNameLength || h + 30 + n > m_inputSize) {
        reject(std::string());
        return false;
    }
    for (uint16_t i = 0; i < n; ++i) {
        if (m_input[h + 30 + i] < 0x20) {
            reject(std::string());
            return false;
        }
    }
    info.name.assign(reinterpret_cast<const char*>(m_input + h + 30), n);
    const uint64_t d = h + 30 + n + e;
    const bool zip64 = d <= m_inputSize && readZip64Sizes(h + 30 + n, e, info);
    if (info.flags & kFlagDataDescriptor) {
        if (d > m_inputSize || !readDescriptor(d, zip64, info, end)) {
            reject(info.name);
            return false;
        }
    } else {
        end = d + info.compressedSize;
    }
    // Compressed data larger than the contents is implausible, with two exceptions that
    // real archives hold: an encrypted entry carries a 12-byte header, and deflating
    // incompressible data (photos, archives) adds a few bytes per block.
    uint64_t allowance = (info.flags & kFlagEncrypted) ? kEncryptionHeader : 0;
    if (info.method == kMethodDeflated)
        allowance += info.uncompressedSize / 1024 + 64;
    if (d > m_inputSize || info.compressedSize > m_inputSize - std::min(d, m_inputSize) || end > m_inputSize
        || info.compressedSize > info.uncompressedSize + allowance) {
        reject(info.name);
        return false;
    }
    info.storedSize = end - h;
    if (OnFileFound)
        OnFileFound(this, displayName(info.name, info.flags), true);
    return true;
}

bool TFolZipFix::ScanLocalHeaders()
{
    uint64_t p = 0;
    for (;;) {
        int64_t found = -1;
        if (!findLocalHeader(p, found))
            return false;
        if (found < 0)
            return flushRange();
        const uint64_t h = uint64_t(found);
        uint64_t end = 0;
        const bool accepted = scanCandidate(h, end);
        if (accepted && !writeEntry(m_info))
            return false;
        p = accepted ? end : h + 1;
        doneBefore(p);
        if (aborted())
            return false;
    }
}

bool TFolZipFix::findLocalHeader(uint64_t from, int64_t& found)
{
    // Bytes that no entry claims (damaged or cut data) may run for hundreds of megabytes:
    // they are searched in steps, the pages of each let go and Cancel heard after it.
    for (;;) {
        const uint64_t until = from + std::min(kSearchStep, m_inputSize - std::min(from, m_inputSize));
        found = search(kLocalSignature, from, kLocalMinimumTail, until);
        if (found >= 0 || until >= m_inputSize)
            return true;
        // No entry joins the waiting range across a step: copy it, so its pages may go too.
        if (!flushRange())
            return false;
        from = until;
        doneBefore(from);
        if (aborted())
            return false;
    }
}

void TFolZipFix::doneBefore(uint64_t offset)
{
    // The range still to copy is read again.
    if (InputDone)
        InputDone(m_rangeEnd > m_rangeStart ? m_rangeStart : offset);
}

bool TFolZipFix::aborted()
{
    if (!m_aborted && ShouldAbort && ShouldAbort()) {
        m_aborted = true;
        m_error = QStringLiteral("zip repair: cancelled");
    }
    return m_aborted;
}

bool TFolZipFix::writeFailed()
{
    m_error = QStringLiteral("zip repair: cannot write the repaired archive: %1").arg(m_copier->errorString());
    return false;
}

bool TFolZipFix::flushRange()
{
    const uint64_t start = m_rangeStart;
    const uint64_t n = m_rangeEnd - m_rangeStart;
    m_rangeStart = m_rangeEnd;
    return n == 0 || m_copier->copy(start, n) || writeFailed();
}

bool TFolZipFix::writeEntry(const TFileInfo& info)
{
    if (info.localHeaderOffset != m_rangeEnd || m_rangeEnd - m_rangeStart >= kRangeLimit) {
        if (!flushRange())
            return false;
        m_rangeStart = m_rangeEnd = info.localHeaderOffset;
    }
    CentralDirectoryHeader c;
    c.versionNeeded = info.versionNeeded;
    c.flags = info.flags;
    c.method = info.method;
    c.time = info.time;
    c.date = info.date;
    c.crc = info.crc;
    c.compressedSize = info.compressedSize;
    c.uncompressedSize = info.uncompressedSize;
    c.localHeaderOffset = m_copier->pos() + (m_rangeEnd - m_rangeStart);
    c.name = info.name;
    m_central += c.write();
    m_rangeEnd += info.storedSize;
    ++m_written;
    return true;
}

bool TFolZipFix::WriteDirectory()
{
    if (m_written == 0)
        return true;
    EndPlace place;
    place.centralOffset = m_copier->pos();
    place.centralSize = m_central.size();
    place.entries = place.entriesOnLastDisk = m_written;
    place.endOffset = place.centralOffset + m_central.size();
    const std::string end = writeEndRecords(place, std::string());
    return (m_copier->write(m_central.data(), m_central.size()) && m_copier->write(end.data(), end.size())) || writeFailed();
}

bool TFolZipFix::ReclaimZip(const uint8_t* input, uint64_t inputSize, QIODevice* output, int inputFile)
{
    if (!input || !output || !output->isWritable()) {
        m_error = QStringLiteral("No input or no output stream has been defined");
        return false;
    }
    zipio::RangeCopier copier(input, inputFile, output);
    m_input = input;
    m_inputSize = inputSize;
    m_copier = &copier;
    m_rangeStart = m_rangeEnd = 0;
    m_error.clear();
    m_aborted = false;
    m_central.clear();
    m_written = 0;
    const bool ok = ScanLocalHeaders() && WriteDirectory();
    m_central.clear();
    m_central.shrink_to_fit();
    m_input = nullptr;
    m_copier = nullptr;
    return ok;
}

QString ZipFixReport::fileFound(const QString& name, bool ok)
{
    ++m_found;
    if (ok)
        ++m_reclaimed;
    return (ok ? QStringLiteral("reclaimed ok: \t") : QStringLiteral("corrupted bad: \t"))
        + (name.isEmpty() ? QStringLiteral("??filename??") : name);
}

QString ZipFixReport::summary() const
{
    return QStringLiteral("reclaimed %1 out of %2 files.").arg(m_reclaimed).arg(m_found);
}
