#pragma once
// The ID3v1 genre list, extended to 148 names (0 "Blues" ... 147 "Synthpop").

#include <QString>

namespace media {

constexpr int Id3GenreCount = 148;

// The name of genre `id`, or an empty string when the id is outside the list (255 means
// "no genre").
QString id3GenreName(int id);

} // namespace media
