#pragma once
// The attributes of a WMA file that the playlist shows, by the names and types of the
// Windows Media attribute set, read from the objects of the file's ASF header: the content
// description, the file properties, the extended content descriptors and the whole-file
// metadata records.

#include <QString>

#include <cstdint>

namespace media {

class AudioSource;

struct TTagsData {
    QString EncodedBy, SDKVersion, Genre, Author, Title, AlbumTitle, Composer, URL;
    QString TrackNumber, Year, Copyright; // at most 255 characters each
    QString Description, Lyrics;
    uint32_t Bitrate = 0;   // bit/s
    int64_t Duration = 0;   // milliseconds
    int64_t FileSize = 0;   // bytes
    bool IsVBR = false;
};

class TWMAData {
public:
    TWMAData() = default;

    // False at once when the file does not exist, and when its header cannot be read;
    // errorString() then holds the message for the user.
    bool ReadFromFile(const QString& fileName);
    bool read(AudioSource& source);
    void ResetData();

    const TTagsData& Tags() const { return m_tags; }
    QString DurationText() const;

    QString errorString() const { return m_error; }

    static constexpr int ShortTextLimit = 255;

private:
    TTagsData m_tags;
    QString m_error;
};

} // namespace media
