#include "media/AsfHeader.h"

#include "media/AudioSource.h"
#include "media/ByteCursor.h"
#include "media/TextCodec.h"
#include "platform/ByteOrder.h"

namespace media {

using namespace byteorder;

namespace {

// Object GUIDs as they lie on disk (the first three fields little-endian).
constexpr char HeaderGuid[] = "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
constexpr char FilePropertiesGuid[] = "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65";
constexpr char StreamPropertiesGuid[] = "\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65";
constexpr char ContentDescriptionGuid[] = "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
constexpr char ExtendedContentDescriptionGuid[] = "\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50";
constexpr char HeaderExtensionGuid[] = "\xB5\x03\xBF\x5F\x2E\xA9\xCF\x11\x8E\xE3\x00\xC0\x0C\x20\x53\x65";
constexpr char MetadataGuid[] = "\xEA\xCB\xF8\xC5\xAF\x5B\x77\x48\x84\x67\xAA\x8C\x44\xFA\x4C\xCA";
constexpr char MetadataLibraryGuid[] = "\x94\x1C\x23\x44\x98\x94\xD1\x49\xA1\x41\x1D\x13\x4E\x45\x70\x54";
constexpr char AudioMediaGuid[] = "\x40\x9E\x69\xF8\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B";

constexpr int GuidSize = 16;

bool isGuid(QByteArrayView bytes, const char* guid)
{
    return bytes == QByteArrayView(guid, GuidSize);
}

// Every object begins with its GUID and its 64-bit size, header included.
struct ObjectHeader {
    static constexpr int Size = 24;
};

// The Header object adds the count of the objects inside it and two reserved bytes.
struct HeaderObject {
    static constexpr int Size = 30;
};

struct FilePropertiesRecord {
    static constexpr int FileSize = 40, PlayDuration = 64, Preroll = 80, MaxBitrate = 100;
    static constexpr int MinimumSize = 104;
};

struct StreamPropertiesRecord {
    static constexpr int StreamType = 24, TypeSpecificLength = 64, TypeSpecificData = 78;
    // WAVEFORMATEX inside the type-specific data.
    static constexpr int Channels = 80, SamplesPerSecond = 82, AverageBytesPerSecond = 86;
    static constexpr int WaveFormatSize = 12;
};

struct HeaderExtensionRecord {
    static constexpr int DataSize = 42;
};

// A header larger than this is not read: real ones hold a few pictures at most.
constexpr qint64 MaxHeaderSize = 64 * 1024 * 1024;
// The header extension holds objects itself; nothing may nest deeper.
constexpr int MaxDepth = 1;

QByteArray keptText(QByteArrayView bytes)
{
    return bytes.first(qMin<qsizetype>(bytes.size(), 2 * qsizetype(AsfHeader::TextLimit))).toByteArray();
}

QString textOf(QByteArrayView bytes)
{
    return decodeUtf16(beforeWideTerminator(keptText(bytes)), false);
}

// Texts (cut to the limit) and numbers are kept; pictures and other binary values are not.
void keepValue(AsfAttribute& attribute, QByteArrayView value)
{
    if (attribute.type == AsfAttribute::Text)
        attribute.value = keptText(value);
    else if (attribute.isNumber())
        attribute.value = value.toByteArray();
}

} // namespace

QString AsfAttribute::text() const
{
    return type == Text ? textOf(value) : QString();
}

bool AsfAttribute::isNumber() const
{
    return type == Bool || type == Word || type == DWord || type == QWord;
}

uint64_t AsfAttribute::number() const
{
    if (!isNumber())
        return 0;
    // BOOL and DWORD take 4 bytes, WORD 2, QWORD 8: little-endian, widened with zeros.
    QByteArray field = value.left(8);
    field.resize(8, '\0');
    return readLE64(field, 0);
}

uint64_t AsfHeader::durationWithoutPreroll() const
{
    const uint64_t prerollUnits = preroll * 10000;
    return playDuration > prerollUnits ? playDuration - prerollUnits : 0;
}

bool AsfHeader::read(AudioSource& source)
{
    *this = AsfHeader();
    QByteArray start;
    if (!source.readAt(0, HeaderObject::Size, start)) {
        m_error = source.errorString();
        return false;
    }
    m_otherKind = start.size() >= GuidSize && !isGuid(QByteArrayView(start).first(GuidSize), HeaderGuid);
    if (m_otherKind || start.size() < HeaderObject::Size) {
        m_error = QStringLiteral("ASF: not an ASF file");
        return false;
    }
    ByteCursor cursor(start, GuidSize);
    const uint64_t size = cursor.le64();
    const uint32_t count = cursor.le32();
    if (size < uint64_t(HeaderObject::Size) || size > uint64_t(source.size()) || size > uint64_t(MaxHeaderSize)) {
        m_error = QStringLiteral("ASF: the header is damaged (its size is %1 bytes)").arg(size);
        return false;
    }
    QByteArray header;
    if (!source.readAt(0, qint64(size), header) || header.size() != qsizetype(size)) {
        m_error = QStringLiteral("ASF: the header cannot be read");
        return false;
    }
    ByteCursor objects(header, HeaderObject::Size);
    for (uint32_t i = 0; i < count && objects.remaining() > 0; ++i) {
        if (!readChild(objects, 0)) {
            m_error = QStringLiteral("ASF: the header is damaged (object %1)").arg(i + 1);
            return false;
        }
    }
    return true;
}

bool AsfHeader::readChild(ByteCursor& objects, int depth)
{
    ByteCursor peek = objects;
    const QByteArrayView guid = peek.take(GuidSize);
    const uint64_t size = peek.le64();
    if (!peek.ok() || size < uint64_t(ObjectHeader::Size) || size > uint64_t(objects.remaining()))
        return false;
    return readObject(guid, objects.take(qsizetype(size)), depth);
}

bool AsfHeader::readObject(QByteArrayView guid, QByteArrayView object, int depth)
{
    if (isGuid(guid, FilePropertiesGuid))
        return readFileProperties(object);
    if (isGuid(guid, StreamPropertiesGuid))
        return readStreamProperties(object);
    if (isGuid(guid, ContentDescriptionGuid))
        return readContentDescription(object);
    if (isGuid(guid, ExtendedContentDescriptionGuid))
        return readExtendedContentDescription(object);
    if (isGuid(guid, HeaderExtensionGuid))
        return readHeaderExtension(object, depth);
    if (isGuid(guid, MetadataGuid) || isGuid(guid, MetadataLibraryGuid))
        return readMetadata(object);
    return true; // an object this reader has no use for
}

bool AsfHeader::readFileProperties(QByteArrayView object)
{
    if (object.size() < FilePropertiesRecord::MinimumSize)
        return false;
    hasFileProperties = true;
    fileSize = readLE64(object, FilePropertiesRecord::FileSize);
    playDuration = readLE64(object, FilePropertiesRecord::PlayDuration);
    preroll = readLE64(object, FilePropertiesRecord::Preroll);
    maxBitrate = readLE32(object, FilePropertiesRecord::MaxBitrate);
    return true;
}

bool AsfHeader::readStreamProperties(QByteArrayView object)
{
    using R = StreamPropertiesRecord;
    if (object.size() < R::TypeSpecificData)
        return false;
    if (hasAudioStream || !isGuid(object.sliced(R::StreamType, GuidSize), AudioMediaGuid))
        return true; // the first audio stream is the one described
    if (readLE32(object, R::TypeSpecificLength) < uint32_t(R::WaveFormatSize)
        || object.size() < R::TypeSpecificData + R::WaveFormatSize)
        return false;
    hasAudioStream = true;
    channels = readLE16(object, R::Channels);
    samplesPerSecond = readLE32(object, R::SamplesPerSecond);
    averageBytesPerSecond = readLE32(object, R::AverageBytesPerSecond);
    return true;
}

bool AsfHeader::readContentDescription(QByteArrayView object)
{
    ByteCursor cursor(object, ObjectHeader::Size);
    uint16_t lengths[5];
    for (uint16_t& length : lengths)
        length = cursor.le16();
    QString* targets[5] = {&title, &author, &copyright, &description, &rating};
    for (int i = 0; i < 5; ++i)
        *targets[i] = textOf(cursor.take(lengths[i]));
    return cursor.ok();
}

bool AsfHeader::readExtendedContentDescription(QByteArrayView object)
{
    ByteCursor cursor(object, ObjectHeader::Size);
    const uint16_t count = cursor.le16();
    for (uint16_t i = 0; i < count && cursor.ok(); ++i) {
        AsfAttribute attribute;
        attribute.name = textOf(cursor.take(cursor.le16()));
        attribute.type = cursor.le16();
        keepValue(attribute, cursor.take(cursor.le16()));
        attributes.append(attribute);
    }
    return cursor.ok();
}

bool AsfHeader::readHeaderExtension(QByteArrayView object, int depth)
{
    if (depth >= MaxDepth)
        return false;
    ByteCursor cursor(object, HeaderExtensionRecord::DataSize);
    const QByteArrayView data = cursor.take(cursor.le32());
    if (!cursor.ok())
        return false;
    ByteCursor objects(data);
    while (objects.remaining() >= ObjectHeader::Size) {
        if (!readChild(objects, depth + 1))
            return false;
    }
    return true;
}

// Metadata and Metadata Library records: language index, stream number, name length, data
// type, 32-bit data length, name, data. Stream 0 is the whole file.
bool AsfHeader::readMetadata(QByteArrayView object)
{
    ByteCursor cursor(object, ObjectHeader::Size);
    const uint16_t count = cursor.le16();
    for (uint16_t i = 0; i < count && cursor.ok(); ++i) {
        cursor.skip(2);
        const uint16_t stream = cursor.le16();
        const uint16_t nameLength = cursor.le16();
        AsfAttribute attribute;
        attribute.origin = AsfAttribute::Origin::Metadata;
        attribute.type = cursor.le16();
        const uint32_t valueLength = cursor.le32();
        attribute.name = textOf(cursor.take(nameLength));
        const QByteArrayView value = cursor.take(valueLength);
        if (stream != 0)
            continue;
        keepValue(attribute, value);
        attributes.append(attribute);
    }
    return cursor.ok();
}

} // namespace media
