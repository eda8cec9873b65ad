#pragma once
// The tags and stream facts of the open audio formats (Ogg Vorbis, Opus, FLAC, MPEG-4 audio)
// through TagLib, which lives in a module loaded on the first such file (media/taglib/), so
// that no program loads TagLib at its start. MP3, WMA and WAV keep the program's own readers.

#include "media/AudioInfo.h"

#include <QString>

namespace media {

class TagLibReader {
public:
    // Whether suffix (lower case, without the dot) is read here.
    static bool reads(const QString& suffix);
    // Fills title (when tagged), artist, album, year, genre, track, bit rate, sample rate,
    // channel mode, length and seconds of info.path. False with reason when the file is not
    // one TagLib can read. A build without TagLib, or without its module beside the program,
    // leaves info as it is.
    static bool read(AudioInfo& info, QString& reason);
};

} // namespace media
