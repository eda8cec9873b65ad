#include "format/ZipNames.h"

#include "codec/Deflate.h"

#include <QStringDecoder>

namespace zipfmt {

namespace {

// Code page 437, bytes 0x80..0xFF.
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC,
    0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310,
    0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C,
    0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF,
    0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2,
    0x25A0, 0x00A0};

constexpr uint8_t kHostUnix = 3;

bool validUtf8(const std::string& bytes, QString& out)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    out = decoder(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

bool isAscii(const std::string& bytes)
{
    for (unsigned char c : bytes)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

QString decodeCp437(const std::string& bytes)
{
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (unsigned char c : bytes)
        out += c < 0x80 ? QChar(c) : QChar(kCp437High[c - 0x80]);
    return out;
}

QString decodeName(const CentralDirectoryHeader& header)
{
    QString utf8;
    if (header.flags & kFlagUtf8) {
        validUtf8(header.name, utf8);
        return utf8;
    }
    // Info-ZIP's Unicode path: version 1, CRC-32 of the raw name, then the UTF-8 name.
    if (const auto field = findExtra(header.extra, kExtraUnicodePath); field && field->size() > 5 && (*field)[0] == 1) {
        const uint32_t crc = readLE32(reinterpret_cast<const uint8_t*>(field->data() + 1));
        if (crc == zipcodec::crc32(0, header.name.data(), header.name.size()) && validUtf8(field->substr(5), utf8))
            return utf8;
    }
    if (isAscii(header.name))
        return QString::fromLatin1(header.name.data(), qsizetype(header.name.size()));
    if ((header.versionMadeBy >> 8) == kHostUnix && validUtf8(header.name, utf8))
        return utf8;
    return decodeCp437(header.name);
}

std::string encodeName(const QString& name, bool& utf8)
{
    const QByteArray bytes = name.toUtf8();
    utf8 = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            utf8 = true;
    return std::string(bytes.constData(), size_t(bytes.size()));
}

namespace {

QString dosPart(const QString& part, int length)
{
    QString out;
    for (QChar c : part) {
        if (out.size() == length)
            break;
        if (c == QLatin1Char(' ') || c == QLatin1Char('.'))
            continue;
        const bool allowed = c.unicode() < 0x80 && (c.isLetterOrNumber() || QStringLiteral("!#$%&'()-@^_`{}~").contains(c));
        out += allowed ? c.toUpper() : QLatin1Char('_');
    }
    return out;
}

} // namespace

QString toDosName(const QString& path)
{
    QStringList parts = path.split(QLatin1Char('/'));
    for (QString& part : parts) {
        if (part.isEmpty())
            continue;
        const qsizetype dot = part.lastIndexOf(QLatin1Char('.'));
        const QString base = dosPart(dot > 0 ? part.left(dot) : part, 8);
        const QString ext = dot > 0 ? dosPart(part.mid(dot + 1), 3) : QString();
        part = (base.isEmpty() ? QStringLiteral("_") : base) + (ext.isEmpty() ? QString() : QLatin1Char('.') + ext);
    }
    return parts.join(QLatin1Char('/'));
}

void toDosTime(const QDateTime& time, uint16_t& dosTime, uint16_t& dosDate)
{
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 1980) {
        dosDate = (1 << 5) | 1;
        dosTime = 0;
        return;
    }
    dosDate = uint16_t(((std::min(d.year(), 2107) - 1980) << 9) | (d.month() << 5) | d.day());
    dosTime = uint16_t((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

namespace {

// The date and the time of day a DOS pair names, with out-of-range fields clamped.
QDate dosDay(uint16_t dosDate)
{
    const QDate d(1980 + (dosDate >> 9), std::max(1, (dosDate >> 5) & 15), std::max(1, dosDate & 31));
    return d.isValid() ? d : QDate(1980, 1, 1);
}

QTime dosClock(uint16_t dosTime)
{
    const QTime t(std::min(23, dosTime >> 11), std::min(59, (dosTime >> 5) & 63), std::min(59, (dosTime & 31) * 2));
    return t.isValid() ? t : QTime(0, 0);
}

} // namespace

QDateTime fromDosTime(uint16_t dosTime, uint16_t dosDate)
{
    return QDateTime(dosDay(dosDate), dosClock(dosTime));
}

QDateTime fromDosTime(uint16_t dosTime, uint16_t dosDate, const QTimeZone& zone)
{
    return QDateTime(dosDay(dosDate), dosClock(dosTime), zone);
}

bool extendedModificationTime(const std::string& extra, int64_t& seconds)
{
    const auto field = findExtra(extra, kExtraTimestamp);
    if (!field || field->size() < 5 || !((*field)[0] & 1))
        return false;
    seconds = int32_t(readLE32(reinterpret_cast<const uint8_t*>(field->data() + 1)));
    return true;
}

std::string extendedTimestampField(int64_t seconds)
{
    ByteWriter w;
    w.bytes(std::string(1, '\x01'));
    w.u32(uint32_t(int32_t(seconds)));
    return extraBlock(kExtraTimestamp, w.data());
}

} // namespace zipfmt
