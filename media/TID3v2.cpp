#include "media/TID3v2.h"

#include "media/AudioSource.h"
#include "media/Id3Genres.h"
#include "media/Id3Text.h"
#include "media/TextCodec.h"
#include "platform/ByteOrder.h"

#include <array>
#include <utility>

namespace media {

using namespace byteorder;

namespace {

// The tag header: "ID3", major version, revision, flags, synchsafe size of what follows.
struct Id3v2Header {
    static constexpr char Signature[] = "ID3";
    static constexpr int Version = 3, Flags = 5, Size = 6;
    static constexpr uint8_t Unsynchronised = 0x80;
    static constexpr uint8_t ExtendedHeader = 0x40; // 2.3 and 2.4
    static constexpr uint8_t Compressed22 = 0x40;   // 2.2: no compression scheme was ever defined
    static constexpr uint8_t Footer24 = 0x10;
};

// One frame header as each version lays it out, with its flags reduced to what the reader
// needs.
struct FrameHeader {
    QByteArray id;      // in the 2.3/2.4 spelling
    qint64 size = 0;    // bytes after the header
    bool unreadable = false;  // compressed or encrypted
    bool unsynchronised = false;
    int extraBytes = 0; // group id and data length indicator in front of the data

    static int length(uint8_t version) { return version == 2 ? 6 : 10; }
    static FrameHeader parse(uint8_t version, QByteArrayView bytes);
};

constexpr std::array<const char*, 19> knownIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM", "TENC", "TCOP",
    "TLAN", "WXXX", "TDRC", "TOPE", "TIT1", "TOAL", "TPE2", "TPE3", "TPUB",
};

// The 2.2 ids of the same frames.
constexpr std::array<std::pair<const char*, const char*>, 18> v22Ids = {{
    {"TT2", "TIT2"}, {"TP1", "TPE1"}, {"TAL", "TALB"}, {"TRK", "TRCK"}, {"TYE", "TYER"},
    {"TCO", "TCON"}, {"COM", "COMM"}, {"TCM", "TCOM"}, {"TEN", "TENC"}, {"TCR", "TCOP"},
    {"TLA", "TLAN"}, {"WXX", "WXXX"}, {"TOA", "TOPE"}, {"TT1", "TIT1"}, {"TOT", "TOAL"},
    {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TPB", "TPUB"},
}};

bool isKnownId(const QByteArray& id)
{
    for (const char* known : knownIds) {
        if (id == known)
            return true;
    }
    return false;
}

QByteArray idFromV22(QByteArrayView id)
{
    for (const auto& [old, current] : v22Ids) {
        if (id == old)
            return QByteArray(current);
    }
    return id.toByteArray();
}

// ID3v2 sizes keep the top bit of every byte clear ("synchsafe"): 4 bytes of 7 bits each,
// summed as b0 * 2^21 + b1 * 2^14 + b2 * 2^7 + b3.
uint32_t readSynchsafe32(QByteArrayView bytes, qsizetype at)
{
    return uint32_t(byteAt(bytes, at)) << 21 | uint32_t(byteAt(bytes, at + 1)) << 14
         | uint32_t(byteAt(bytes, at + 2)) << 7 | uint32_t(byteAt(bytes, at + 3));
}

// A 2.4 frame size is synchsafe; some writers put a plain 32-bit number there, which shows
// as a byte with its top bit set.
qint64 frameSize24(QByteArrayView bytes, qsizetype at)
{
    for (int i = 0; i < 4; ++i) {
        if (byteAt(bytes, at + i) & 0x80)
            return readBE32(bytes, at);
    }
    return readSynchsafe32(bytes, at);
}

FrameHeader FrameHeader::parse(uint8_t version, QByteArrayView bytes)
{
    FrameHeader header;
    if (version == 2) {
        header.id = idFromV22(bytes.first(3));
        header.size = readBE24(bytes, 3);
        return header;
    }
    header.id = bytes.first(4).toByteArray();
    const uint8_t format = byteAt(bytes, 9);
    if (version == 3) {
        header.size = readBE32(bytes, 4);
        header.unreadable = format & 0xC0;
        header.extraBytes = (format & 0x20) ? 1 : 0;
    } else {
        header.size = frameSize24(bytes, 4);
        header.unreadable = format & 0x0C;
        header.unsynchronised = format & 0x02;
        header.extraBytes = ((format & 0x40) ? 1 : 0) + ((format & 0x01) ? 4 : 0);
    }
    return header;
}

} // namespace

// The bytes of the tag behind its header, either read from the file as needed or, for a tag
// unsynchronised as a whole, restored in memory first. Offsets count from the file's start.
class TID3v2::Body {
public:
    Body(AudioSource& source, qint64 end)
        : m_source(source)
        , m_end(end)
    {
    }

    bool loadResynchronised()
    {
        QByteArray raw;
        if (!m_source.readAt(HeaderSize, m_end - HeaderSize, raw))
            return false;
        m_memory = id3text::resynchronise(raw);
        m_inMemory = true;
        m_end = HeaderSize + m_memory.size();
        return true;
    }

    qint64 end() const { return m_end; }

    // At most `length` bytes at `at`, never past the end of the tag.
    bool read(qint64 at, qint64 length, QByteArray& out)
    {
        length = qMin(length, m_end - at);
        if (length <= 0) {
            out.clear();
            return true;
        }
        if (m_inMemory) {
            out = m_memory.mid(at - HeaderSize, length);
            return true;
        }
        return m_source.readAt(at, length, out);
    }

private:
    AudioSource& m_source;
    qint64 m_end;
    QByteArray m_memory;
    bool m_inMemory = false;
};


void TID3v2::ResetData()
{
    *this = TID3v2();
}

bool TID3v2::ReadFromFile(const QString& fileName)
{
    AudioSource source(fileName);
    return read(source);
}

bool TID3v2::read(AudioSource& source)
{
    ResetData();
    QByteArray header;
    if (!source.readAt(0, HeaderSize, header)) {
        m_error = source.errorString();
        return false;
    }
    if (header.size() < HeaderSize) {
        m_error = QStringLiteral("ID3v2: the file is shorter than a tag header");
        return false;
    }
    if (!header.startsWith(Id3v2Header::Signature))
        return true;

    m_exists = true;
    m_versionId = byteAt(header, Id3v2Header::Version);
    const uint8_t flags = byteAt(header, Id3v2Header::Flags);
    qint64 size = qint64(readSynchsafe32(header, Id3v2Header::Size)) + HeaderSize;
    const qint64 bodyEnd = size;
    if (m_versionId == 4 && (flags & Id3v2Header::Footer24))
        size += HeaderSize;
    m_size = size > source.size() ? 0 : int(size);
    if (m_size == 0 || m_versionId < 2 || m_versionId > 4)
        return true;
    if (m_versionId == 2 && (flags & Id3v2Header::Compressed22))
        return true;

    Body body(source, bodyEnd);
    if (m_versionId < 4 && (flags & Id3v2Header::Unsynchronised) && !body.loadResynchronised()) {
        m_error = source.errorString();
        return false;
    }
    readFrames(body, flags);
    return true;
}

void TID3v2::readFrames(Body& body, uint8_t flags)
{
    qint64 position = HeaderSize;
    if (m_versionId > 2 && (flags & Id3v2Header::ExtendedHeader)) {
        QByteArray sizeBytes;
        if (!body.read(position, 4, sizeBytes) || sizeBytes.size() < 4)
            return;
        // 2.3 counts the extended header without its size field, 2.4 with it.
        position += m_versionId == 3 ? 4 + qint64(readBE32(sizeBytes, 0)) : qint64(readSynchsafe32(sizeBytes, 0));
    }
    // A 2.2 or 2.3 tag unsynchronised as a whole was restored as one in Body, so its frames
    // are not restored again (a restored text may itself hold FF 00). In 2.4 the tag flag
    // only says that every frame is unsynchronised, and each frame is restored on its own.
    const bool everyFrameUnsynchronised = m_versionId == 4 && (flags & Id3v2Header::Unsynchronised);
    const int headerLength = FrameHeader::length(m_versionId);
    QByteArray bytes;
    while (position + headerLength <= body.end()) {
        if (!body.read(position, headerLength, bytes) || bytes.size() < headerLength)
            return;
        if (bytes[0] < 'A' || bytes[0] > 'Z')
            return; // padding or garbage: no more frames
        const FrameHeader frame = FrameHeader::parse(m_versionId, bytes);
        const qint64 dataStart = position + headerLength;
        if (isKnownId(frame.id) && !frame.unreadable) {
            keepFrame(body, frame.id, dataStart + frame.extraBytes, frame.size - frame.extraBytes,
                      frame.unsynchronised || everyFrameUnsynchronised);
        }
        position = dataStart + frame.size;
    }
}

void TID3v2::keepFrame(Body& body, const QByteArray& id, qint64 dataStart, qint64 dataSize,
                       bool unsynchronised)
{
    if (dataSize < 0)
        return;
    // Restoring unsynchronised bytes shortens them by at most half.
    const qint64 wanted = qMin<qint64>(dataSize, unsynchronised ? 2 * FrameTextLimit : FrameTextLimit);
    QByteArray data;
    if (!body.read(dataStart, wanted, data))
        return;
    if (unsynchronised)
        data = id3text::resynchronise(data);
    data.truncate(FrameTextLimit);
    m_frames.insert(id, data);
}


namespace {

// A frame that starts with an encoding byte; a first byte that is no encoding is taken as
// single-byte text that has none.
QString frameText(QByteArrayView data)
{
    if (data.isEmpty())
        return QString();
    const uint8_t encoding = byteAt(data, 0);
    if (!id3text::isEncoding(encoding))
        return trimmedText(id3text::decode(id3text::Latin1, data));
    return trimmedText(id3text::decode(encoding, data.sliced(1)));
}

// COMM and WXXX: encoding byte, `skip` more bytes (the language of a comment), a
// description ending with a terminator, then the value. Without a terminator the whole
// rest is the value.
QByteArrayView afterDescription(QByteArrayView data, int skip, uint8_t& encoding)
{
    encoding = data.isEmpty() ? id3text::Latin1 : byteAt(data, 0);
    if (!id3text::isEncoding(encoding))
        encoding = id3text::Latin1;
    const QByteArrayView rest = data.sliced(qMin<qsizetype>(data.size(), 1 + skip));
    const qsizetype valueStart = id3text::skipString(encoding, rest);
    return valueStart < 0 ? rest : rest.sliced(valueStart);
}

// "(13)" and a bare "13" name a genre of the ID3v1 list.
QString genreByNumber(const QString& text)
{
    bool isNumber = false;
    const int id = text.toInt(&isNumber);
    return isNumber ? id3GenreName(id) : QString();
}

} // namespace

QString TID3v2::text(const char* id) const
{
    return frameText(m_frames.value(QByteArray(id)));
}

QString TID3v2::Year() const
{
    const QString year = text("TYER");
    if (!year.isEmpty())
        return year;
    // 2.4 keeps the year at the front of its recording time ("2004-05-06T12:00").
    return text("TDRC").left(4);
}

int TID3v2::Track() const
{
    const QString track = text("TRCK");
    bool isNumber = false;
    const int number = track.section(QLatin1Char('/'), 0, 0).trimmed().toInt(&isNumber);
    return isNumber && number > 0 ? number : 0;
}

QString TID3v2::Genre() const
{
    const QString genre = text("TCON");
    const qsizetype close = genre.lastIndexOf(QLatin1Char(')'));
    if (close < 0) {
        const QString named = genreByNumber(genre);
        return named.isEmpty() ? genre : named;
    }
    const QString rest = trimmedText(genre.sliced(close + 1));
    if (!rest.isEmpty())
        return rest;
    const qsizetype open = genre.lastIndexOf(QLatin1Char('('), close);
    return open < 0 ? QString() : genreByNumber(genre.sliced(open + 1, close - open - 1));
}

QString TID3v2::Comment() const
{
    uint8_t encoding = 0;
    const QByteArray data = m_frames.value("COMM");
    const QByteArrayView value = afterDescription(data, 3, encoding);
    return trimmedText(id3text::decode(encoding, value));
}

QString TID3v2::Link() const
{
    uint8_t encoding = 0;
    const QByteArray data = m_frames.value("WXXX");
    // The address itself is always ISO-8859-1.
    const QByteArrayView value = afterDescription(data, 0, encoding);
    return trimmedText(id3text::decode(id3text::Latin1, value));
}

} // namespace media
