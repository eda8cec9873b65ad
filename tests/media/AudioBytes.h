#pragma once
// Builders of small audio files for the reader tests: ID3 tags, MPEG frames, RIFF wave
// files and ASF headers, byte by byte, so that each test shows the fault it is about.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <initializer_list>

namespace audiobytes {

// Bytes from a list of values 0..255: bytesOf({0xFF, 0xFB}).
QByteArray bytesOf(std::initializer_list<int> values);
QByteArray le16(uint16_t value);
QByteArray le32(uint32_t value);
QByteArray le64(uint64_t value);
QByteArray be32(uint32_t value);
QByteArray synchsafe(uint32_t value);
QByteArray utf16le(const QString& text, bool terminated = true);

// ID3v2: a tag header of `version` with `flags` around `body`.
QByteArray id3v2Tag(uint8_t version, const QByteArray& body, uint8_t flags = 0);
QByteArray frame22(const char* id, const QByteArray& data);
QByteArray frame23(const char* id, const QByteArray& data, uint8_t formatFlags = 0);
QByteArray frame24(const char* id, const QByteArray& data, uint8_t formatFlags = 0);
// A text frame body: encoding byte and the encoded text.
QByteArray latin1Text(const QString& text);

// ID3v1: a 128-byte tag with the given fields and raw bytes 125..127.
QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, const QByteArray& comment, uint8_t byte125,
                    uint8_t byte126, uint8_t genre);

// MPEG 1 Layer III, 128 kbit/s, 44.1 kHz, stereo, no padding: 417-byte frames.
constexpr int CbrFrameSize = 417;
QByteArray cbrFrames(int count, uint8_t mode = 0);
// The first frame of a VBR file with a Xing header (all four fields) or a VBRI header.
QByteArray xingFrame(uint32_t frames, uint32_t bytes, const QByteArray& id = "Xing");
QByteArray vbriFrame(uint32_t frames, uint32_t bytes);

// A RIFF wave file: "fmt " chunk of `fmtSize` bytes, optional chunks, then `dataBytes`.
struct Wave {
    uint32_t fmtSize = 16;
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bitsPerSample = 16;
    QByteArray chunksBeforeFormat;
    QByteArray chunksBeforeData;
    uint32_t dataBytes = 176400;
    qint64 writtenDataBytes = -1; // fewer than dataBytes: a recording cut short
    QByteArray build() const;
};
QByteArray riffChunk(const char* id, const QByteArray& data);

// ASF: objects by GUID text ("75B22630-668E-11CF-A6D9-00AA0062CE6C").
QByteArray asfGuid(const char* text);
QByteArray asfObject(const char* guid, const QByteArray& body);
QByteArray asfHeader(const QList<QByteArray>& objects);
QByteArray asfFileProperties(uint64_t fileSize, uint64_t playDuration, uint64_t prerollMs,
                             uint32_t maxBitrate);
QByteArray asfAudioStream(uint16_t channels, uint32_t samplesPerSecond,
                          uint32_t averageBytesPerSecond);
QByteArray asfContentDescription(const QString& title, const QString& author,
                                 const QString& copyright, const QString& description);
struct AsfDescriptor {
    QString name;
    uint16_t type;
    QByteArray value;
};
QByteArray asfExtendedContent(const QList<AsfDescriptor>& descriptors);
QByteArray asfMetadataLibrary(const QList<AsfDescriptor>& records, uint16_t stream = 0);
QByteArray asfHeaderExtension(const QList<QByteArray>& objects);

} // namespace audiobytes
