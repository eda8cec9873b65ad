#pragma once
// The playlist's columns: the title caption and ten sub-items, their captions and widths, and
// the text each shows of an entry. The panel, the sort and `fvtool playlist` all read an
// entry through columnText, so they show the same thing.

#include "media/AudioInfo.h"

#include <QString>

namespace media {

enum class PlaylistColumn { Title, Artist, Album, Year, Genre, Length, Track, Bitrate, Size, PathFile, Sec };
constexpr int kPlaylistColumnCount = int(PlaylistColumn::Sec) + 1;

// "Title", "Artist", ... "PathFile", "Sec".
QString columnCaption(PlaylistColumn column);
// The column's width in pixels; 0 for the automatic width, -1 for the default.
int columnWidth(PlaylistColumn column);
QString columnText(const AudioInfo& entry, PlaylistColumn column);

} // namespace media
