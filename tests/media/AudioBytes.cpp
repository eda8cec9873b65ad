#include "AudioBytes.h"

#include <QUuid>

namespace audiobytes {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value));
    return bytes;
}

QByteArray le16(uint16_t value)
{
    return bytesOf({char(value), char(value >> 8)});
}

QByteArray le32(uint32_t value)
{
    return le16(uint16_t(value)) + le16(uint16_t(value >> 16));
}

QByteArray le64(uint64_t value)
{
    return le32(uint32_t(value)) + le32(uint32_t(value >> 32));
}

QByteArray be32(uint32_t value)
{
    return bytesOf({char(value >> 24), char(value >> 16), char(value >> 8), char(value)});
}

QByteArray synchsafe(uint32_t value)
{
    return bytesOf({char((value >> 21) & 0x7F), char((value >> 14) & 0x7F), char((value >> 7) & 0x7F),
                       char(value & 0x7F)});
}

QByteArray utf16le(const QString& text, bool terminated)
{
    QByteArray bytes;
    for (const QChar c : text)
        bytes += le16(c.unicode());
    if (terminated)
        bytes += le16(0);
    return bytes;
}

QByteArray id3v2Tag(uint8_t version, const QByteArray& body, uint8_t flags)
{
    return QByteArray("ID3") + char(version) + char(0) + char(flags) + synchsafe(uint32_t(body.size())) + body;
}

QByteArray frame22(const char* id, const QByteArray& data)
{
    const uint32_t size = uint32_t(data.size());
    return QByteArray(id, 3) + char(size >> 16) + char(size >> 8) + char(size) + data;
}

QByteArray frame23(const char* id, const QByteArray& data, uint8_t formatFlags)
{
    return QByteArray(id, 4) + be32(uint32_t(data.size())) + char(0) + char(formatFlags) + data;
}

QByteArray frame24(const char* id, const QByteArray& data, uint8_t formatFlags)
{
    return QByteArray(id, 4) + synchsafe(uint32_t(data.size())) + char(0) + char(formatFlags) + data;
}

QByteArray latin1Text(const QString& text)
{
    return char(0) + text.toLatin1();
}

QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, const QByteArray& comment, uint8_t byte125,
                    uint8_t byte126, uint8_t genre)
{
    const auto field = [](const QByteArray& text, int length) {
        return text.left(length).leftJustified(length, '\0');
    };
    QByteArray tag = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
                   + field(comment, 30) + char(genre);
    tag[125] = char(byte125);
    tag[126] = char(byte126);
    return tag;
}

QByteArray cbrFrames(int count, uint8_t mode)
{
    QByteArray frame(CbrFrameSize, '\x55');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(mode << 6);
    return frame.repeated(count);
}

QByteArray xingFrame(uint32_t frames, uint32_t bytes, const QByteArray& id)
{
    QByteArray frame = cbrFrames(1);
    const QByteArray xing = id + be32(0x0F) + be32(frames) + be32(bytes) + QByteArray(100, '\x01')
                          + be32(77) + "LAME3.99";
    frame.replace(36, xing.size(), xing);
    return frame;
}

QByteArray vbriFrame(uint32_t frames, uint32_t bytes)
{
    QByteArray frame = cbrFrames(1);
    const QByteArray vbri = "VBRI" + bytesOf({0, 1, 0, 0, 0, 60}) + be32(bytes) + be32(frames);
    frame.replace(36, vbri.size(), vbri);
    return frame;
}

QByteArray riffChunk(const char* id, const QByteArray& data)
{
    QByteArray chunk = QByteArray(id, 4) + le32(uint32_t(data.size())) + data;
    if (data.size() % 2)
        chunk += char(0);
    return chunk;
}

QByteArray Wave::build() const
{
    const uint16_t blockAlign = uint16_t(channels * bitsPerSample / 8);
    QByteArray format = le16(formatTag) + le16(channels) + le32(sampleRate)
                      + le32(sampleRate * blockAlign) + le16(blockAlign) + le16(bitsPerSample);
    format = format.leftJustified(int(fmtSize), '\0');
    const qint64 written = writtenDataBytes < 0 ? dataBytes : writtenDataBytes;
    const QByteArray body = "WAVE" + chunksBeforeFormat + QByteArray("fmt ") + le32(fmtSize) + format
                          + chunksBeforeData + QByteArray("data") + le32(dataBytes)
                          + QByteArray(written, '\0');
    return "RIFF" + le32(uint32_t(body.size())) + body;
}

QByteArray asfGuid(const char* text)
{
    const QUuid uuid(QString::fromLatin1(text));
    return le32(uuid.data1) + le16(uuid.data2) + le16(uuid.data3)
         + QByteArray(reinterpret_cast<const char*>(uuid.data4), 8);
}

QByteArray asfObject(const char* guid, const QByteArray& body)
{
    return asfGuid(guid) + le64(uint64_t(24 + body.size())) + body;
}

QByteArray asfHeader(const QList<QByteArray>& objects)
{
    const QByteArray body = objects.join();
    return asfGuid("75B22630-668E-11CF-A6D9-00AA0062CE6C") + le64(uint64_t(30 + body.size()))
         + le32(uint32_t(objects.size())) + bytesOf({1, 2}) + body;
}

QByteArray asfFileProperties(uint64_t fileSize, uint64_t playDuration, uint64_t prerollMs,
                             uint32_t maxBitrate)
{
    const QByteArray body = QByteArray(16, '\x11') + le64(fileSize) + le64(0) + le64(10)
                          + le64(playDuration) + le64(playDuration) + le64(prerollMs) + le32(2)
                          + le32(3200) + le32(3200) + le32(maxBitrate);
    return asfObject("8CABDCA1-A947-11CF-8EE4-00C00C205365", body);
}

QByteArray asfAudioStream(uint16_t channels, uint32_t samplesPerSecond,
                          uint32_t averageBytesPerSecond)
{
    const QByteArray waveFormat = le16(0x161) + le16(channels) + le32(samplesPerSecond)
                                + le32(averageBytesPerSecond) + le16(2973) + le16(16) + le16(0);
    const QByteArray body = asfGuid("F8699E40-5B4D-11CF-A8FD-00805F5C442B") + QByteArray(16, '\0')
                          + le64(0) + le32(uint32_t(waveFormat.size())) + le32(0) + le16(1) + le32(0)
                          + waveFormat;
    return asfObject("B7DC0791-A9B7-11CF-8EE6-00C00C205365", body);
}

QByteArray asfContentDescription(const QString& title, const QString& author,
                                 const QString& copyright, const QString& description)
{
    QByteArray lengths;
    QByteArray strings;
    for (const QString& text : {title, author, copyright, description, QString()}) {
        const QByteArray bytes = text.isEmpty() ? QByteArray() : utf16le(text);
        lengths += le16(uint16_t(bytes.size()));
        strings += bytes;
    }
    return asfObject("75B22633-668E-11CF-A6D9-00AA0062CE6C", lengths + strings);
}

QByteArray asfExtendedContent(const QList<AsfDescriptor>& descriptors)
{
    QByteArray body = le16(uint16_t(descriptors.size()));
    for (const AsfDescriptor& d : descriptors) {
        const QByteArray name = utf16le(d.name);
        body += le16(uint16_t(name.size())) + name + le16(d.type) + le16(uint16_t(d.value.size())) + d.value;
    }
    return asfObject("D2D0A440-E307-11D2-97F0-00A0C95EA850", body);
}

QByteArray asfMetadataLibrary(const QList<AsfDescriptor>& records, uint16_t stream)
{
    QByteArray body = le16(uint16_t(records.size()));
    for (const AsfDescriptor& r : records) {
        const QByteArray name = utf16le(r.name);
        body += le16(0) + le16(stream) + le16(uint16_t(name.size())) + le16(r.type)
              + le32(uint32_t(r.value.size())) + name + r.value;
    }
    return asfObject("44231C94-9498-49D1-A141-1D134E457054", body);
}

QByteArray asfHeaderExtension(const QList<QByteArray>& objects)
{
    const QByteArray data = objects.join();
    const QByteArray body = asfGuid("ABD3D211-A9BA-11CF-8EE6-00C00C205365") + le16(6)
                          + le32(uint32_t(data.size())) + data;
    return asfObject("5FBF03B5-A92E-11CF-8EE3-00C00C205365", body);
}

} // namespace audiobytes
