#pragma once
// The audio information record: what the playlist and `fvtool audioinfo` show of one file,
// as AudioInfoReader gathers it.

#include <QString>

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

} // namespace media
