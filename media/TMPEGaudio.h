#pragma once
// Reads an MPEG audio file: its ID3v1 and ID3v2 tags, the first frame header that another
// frame header follows, a Xing or VBRI header in that frame, and the encoder's name near
// the end of the file; from these the bit rate, sample rate, channel mode and duration.

#include "media/MpegFrame.h"
#include "media/TID3v1.h"
#include "media/TID3v2.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace media {

class AudioSource;

struct VBRData {
    bool Found = false;
    QByteArray ID;          // "Xing", "Info" (the Xing layout in a constant-rate file) or "VBRI"
    int Frames = 0;
    int Bytes = 0;
    uint8_t Scale = 0;
    QByteArray VendorID;    // 8 bytes, Xing and Info headers only
};

class TMPEGaudio {
public:
    // Starts in the cleared state that ResetData() returns to.
    TMPEGaudio() = default;

    bool ReadFromFile(const QString& fileName);
    bool read(AudioSource& source);
    void ResetData();

    qint64 FileLength() const { return m_fileLength; }
    QString Encoder() const { return m_encoder; }
    const TID3v1& ID3v1() const { return m_id3v1; }
    const TID3v2& ID3v2() const { return m_id3v2; }
    const VBRData& VBR() const { return m_vbr; }
    const MpegFrame& Frame() const { return m_frame; }

    int BitRate() const;          // kbit/s
    int SampleRate() const;       // Hz
    QString ChannelMode() const;
    double Duration() const;      // seconds
    QString DurationText() const;
    bool Valid() const;

    QString errorString() const { return m_error; }

    // Twice the longest frame (Layer II, 384 kbit/s, 32 kHz, padded: 1729 bytes).
    static constexpr int BufferSize = 3458;
    static constexpr int LongestFrame = 1729;

private:
    bool searchFrom(AudioSource& source, qint64 offset, bool& filled);
    void searchFrame(const QByteArray& buffer);
    void readVBR(const QByteArray& buffer, int index);
    void searchEncoder(const QByteArray& buffer);

    qint64 m_fileLength = 0;
    QString m_encoder;
    TID3v1 m_id3v1;
    TID3v2 m_id3v2;
    VBRData m_vbr;
    MpegFrame m_frame;
    QString m_error;
};

} // namespace media
