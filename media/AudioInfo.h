#pragma once
// The audio information record: what the playlist and `fvtool audioinfo` show of one file,
// gathered by the reader its kind calls for (.mp3: TMPEGaudio and its tags, .wma: TWMAData
// for the tags with TWMAfile for the format, .wav: TWAVFile).

#include <QString>

#include <optional>

namespace media {

struct AudioInfo {
    QString path;
    QString title;   // the file name without its last extension when the file has none
    QString artist, album, year, genre;
    QString track;   // two digits at least ("07"), or empty
    QString bitrate; // kbit/s, or empty
    QString sampleRate; // Hz, or empty
    QString channelMode;
    QString length;  // "m:ss" or "h:mm:ss", or empty
    QString seconds; // whole seconds, truncated, or empty
    qint64 size = 0; // bytes
};

// Reads the record of one file. An MP3 without a valid frame, a WAV that is not plain PCM
// and a WMA whose header cannot be read give no record and say why in `error`; a file of any
// other kind gives a record with its name and size only.
std::optional<AudioInfo> ReadAudioInfo(const QString& path, QString* error = nullptr);

} // namespace media
