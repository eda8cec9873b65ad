#pragma once
// Reads the format of a PCM wave file: the RIFF chunks "fmt " and "data", wherever they lie
// among the other chunks a recorder may write.

#include <QString>

#include <cstdint>

namespace media {

class AudioSource;

class TWAVFile {
public:
    // Starts in the cleared state that ResetData() returns to.
    TWAVFile() = default;

    // True when the file could be opened and its first 44 bytes read; Valid() tells whether
    // they describe plain PCM audio of one or two channels.
    bool ReadFromFile(const QString& fileName);
    bool read(AudioSource& source);
    void ResetData();

    bool Valid() const { return m_valid; }
    uint8_t ChannelModeID() const { return m_channelModeId; } // channel count
    uint32_t SampleRate() const { return m_sampleRate; }
    uint8_t BitsPerSample() const { return m_bitsPerSample; }
    uint32_t FileSize() const { return m_fileSize; }
    QString ChannelMode() const;
    double Duration() const;
    QString DurationText() const;

    QString errorString() const { return m_error; }

    static constexpr int CanonicalHeaderSize = 44;

private:
    bool readFormat(AudioSource& source, qint64 offset, uint32_t size);

    bool m_valid = false;
    uint8_t m_channelModeId = 0;
    uint32_t m_sampleRate = 0;
    uint8_t m_bitsPerSample = 0;
    uint32_t m_fileSize = 0;
    qint64 m_dataBytes = 0;
    QString m_error;
};

// The channel mode name by channel count: 0 "Unknown", 1 "Mono", 2 "Stereo".
QString channelModeName(int channels);

} // namespace media
