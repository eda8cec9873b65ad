#pragma once
// What the TagLib module (folvane3-taglib.so, media/taglib/) reads of one file: the tag's
// texts in UTF-8 and the stream's facts. Plain types only, so that the module needs neither
// Qt nor anything of the program.

#include <string>

namespace media {

struct TagLibFacts {
    bool tagged = false;
    std::string title, artist, album, genre;
    unsigned year = 0, track = 0;
    int bitrate = 0;    // kbit/s
    int sampleRate = 0; // Hz
    int channels = 0;
    int lengthMs = 0;
};

// The module's one function: false when the file is not one TagLib can read.
using TagLibReadFunction = bool (*)(const char* path, TagLibFacts* facts);
inline constexpr char kTagLibModuleName[] = "folvane3-taglib.so";
inline constexpr char kTagLibReadSymbol[] = "folvane3_taglib_read";

} // namespace media
