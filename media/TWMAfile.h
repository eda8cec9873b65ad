#pragma once
// Reads the audio format, the play time and the tags of a WMA file from its ASF header.

#include <QString>

#include <cstdint>

namespace media {

class AudioSource;

class TWMAfile {
public:
    // Starts in the cleared state that ResetData() returns to.
    TWMAfile() = default;

    // True when the file could be read and is no ASF file, or is one whose header is whole;
    // Valid() tells whether it describes audio this reader accepts.
    bool ReadFromFile(const QString& fileName);
    bool read(AudioSource& source);
    void ResetData();

    bool Valid() const { return m_valid; }
    qint64 FileSize() const { return m_fileSize; }
    uint8_t ChannelModeID() const { return m_channelModeId; }
    int SampleRate() const { return m_sampleRate; }
    double Duration() const { return m_duration; }
    int BitRate() const { return m_bitRate; }
    QString Title() const { return m_title; }
    QString Artist() const { return m_artist; }
    QString Album() const { return m_album; }
    int Track() const { return m_track; }
    QString Year() const { return m_year; }
    QString Genre() const { return m_genre; }
    QString Comment() const { return m_comment; }
    QString ChannelMode() const;

    QString errorString() const { return m_error; }

    // The most characters kept of one text.
    static constexpr int TextLimit = 250;

private:
    bool m_valid = false;
    qint64 m_fileSize = 0;
    uint8_t m_channelModeId = 0;
    int m_sampleRate = 0;
    double m_duration = 0;
    int m_bitRate = 0;
    QString m_title, m_artist, m_album, m_year, m_genre, m_comment;
    int m_track = 0;
    QString m_error;
};

} // namespace media
