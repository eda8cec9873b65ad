#pragma once
// Reads the ID3v1 tag: the last 128 bytes of a file when they begin with "TAG".
// Texts are ISO-8859-1, as the format defines them.

#include <QString>

#include <cstdint>

namespace media {

class AudioSource;

class TID3v1 {
public:
    // Starts in the cleared state that ResetData() returns to.
    TID3v1() = default;

    // True when the file could be opened and read, with or without a tag.
    bool ReadFromFile(const QString& fileName);
    bool read(AudioSource& source);
    void ResetData();

    bool Exists() const { return m_exists; }
    uint8_t VersionID() const { return m_versionId; } // 1 = ID3v1.0, 2 = ID3v1.1
    QString Title() const { return m_title; }
    QString Artist() const { return m_artist; }
    QString Album() const { return m_album; }
    QString Year() const { return m_year; }
    QString Comment() const { return m_comment; }
    uint8_t Track() const { return m_track; }
    uint8_t GenreID() const { return m_genreId; } // 255 = no genre
    QString Genre() const;

    QString errorString() const { return m_error; }

    static constexpr int TagSize = 128;
    static constexpr uint8_t VersionV10 = 1;
    static constexpr uint8_t VersionV11 = 2;

private:
    bool m_exists = false;
    uint8_t m_versionId = VersionV10;
    QString m_title, m_artist, m_album, m_year, m_comment;
    uint8_t m_track = 0;
    uint8_t m_genreId = 255;
    QString m_error;
};

} // namespace media
