#pragma once
// Gathers the audio information record of one file with the reader its kind calls for
// (.mp3: TMPEGaudio and its tags, .wma: TWMAData for the tags with TWMAfile for the format,
// .wav: TWAVFile), and the open formats (.ogg, .opus, .flac, .m4a) through TagLib.

#include "media/AudioInfo.h"
#include "media/AudioSource.h"

#include <QString>

namespace media {

class AudioInfoReader {
public:
    // Reads the record of one file. An MP3 without a valid frame, a WAV that is not plain
    // PCM, a WMA whose header cannot be read and a path that is no regular file give false,
    // with errorString() "<path>: <reason>"; a file of any other kind gives a record with its
    // name and size only. A reader reads file after file with the same buffers.
    bool read(const QString& path);

    // The record of the last read() that succeeded.
    const AudioInfo& info() const { return m_info; }
    QString errorString() const { return m_error; }

private:
    bool readMpeg();
    bool readWma();
    bool readWav();
    bool readTagged();
    bool fail(const QString& reason);

    AudioSource m_source;
    AudioInfo m_info;
    QString m_error;
};

} // namespace media
