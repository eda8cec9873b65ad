// folvane3-taglib.so: the tags and stream facts of the open audio formats through TagLib, in a
// module of its own. The readers load it on the first file of those kinds (TagLibReader), so
// that reading MP3, WMA and WAV files, and starting any program, never pays for TagLib.
#include "media/TagLibFacts.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

extern "C" __attribute__((visibility("default"))) bool folvane3_taglib_read(const char* path, media::TagLibFacts* facts)
{
    TagLib::FileRef file(path, true, TagLib::AudioProperties::Average);
    if (file.isNull() || !file.audioProperties())
        return false;
    if (const TagLib::Tag* tag = file.tag()) {
        facts->tagged = true;
        facts->title = tag->title().to8Bit(true);
        facts->artist = tag->artist().to8Bit(true);
        facts->album = tag->album().to8Bit(true);
        facts->genre = tag->genre().to8Bit(true);
        facts->year = tag->year();
        facts->track = tag->track();
    }
    const TagLib::AudioProperties* audio = file.audioProperties();
    facts->bitrate = audio->bitrate();
    facts->sampleRate = audio->sampleRate();
    facts->channels = audio->channels();
    facts->lengthMs = audio->lengthInMilliseconds();
    return true;
}
