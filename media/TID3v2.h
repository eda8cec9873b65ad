#pragma once
// Reads the ID3v2 tag at the start of a file: its size, and the texts of the frames the
// playlist shows. Tags of versions 2.2 (three-letter frame ids), 2.3 and 2.4 (synchsafe
// frame sizes) are read, unsynchronised tags and frames are restored, and the four text
// encodings are decoded into Unicode. At most 250 bytes of each frame are read.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>

namespace media {

class AudioSource;

class TID3v2 {
public:
    // Starts in the cleared state that ResetData() returns to.
    TID3v2() = default;

    // True when the first 10 bytes of the file could be read, with or without a tag.
    bool ReadFromFile(const QString& fileName);
    bool read(AudioSource& source);
    void ResetData();

    bool Exists() const { return m_exists; }
    uint8_t VersionID() const { return m_versionId; }
    // The whole tag in bytes, header included; 0 when that would pass the end of the file.
    int Size() const { return m_size; }
    QString Title() const { return text("TIT2"); }
    QString Artist() const { return text("TPE1"); }
    QString Album() const { return text("TALB"); }
    QString Year() const;
    int Track() const;
    QString Genre() const;
    QString Comment() const;
    QString Composer() const { return text("TCOM"); }
    QString Encoder() const { return text("TENC"); }
    QString Copyright() const { return text("TCOP"); }
    QString Language() const { return text("TLAN"); }
    QString Link() const;
    QString Band() const { return text("TPE2"); }
    QString OriginalArtist() const { return text("TOPE"); }
    QString Conductor() const { return text("TPE3"); }
    QString Publisher() const { return text("TPUB"); }

    QString errorString() const { return m_error; }

    static constexpr int HeaderSize = 10;
    // The most bytes of one frame that are kept.
    static constexpr int FrameTextLimit = 250;

private:
    class Body;
    void readFrames(Body& body, uint8_t flags);
    void keepFrame(Body& body, const QByteArray& id, qint64 dataStart, qint64 dataSize,
                   bool unsynchronised);
    QString text(const char* id) const;

    bool m_exists = false;
    uint8_t m_versionId = 0;
    int m_size = 0;
    // The first bytes of each known frame, by its 2.3/2.4 id; a later frame replaces an
    // earlier one with the same id.
    QHash<QByteArray, QByteArray> m_frames;
    QString m_error;
};

} // namespace media
