#include "media/playlist/PlaylistColumns.h"

namespace media {

namespace {

struct ColumnLayout {
    const char* caption;
    int width;
};

// PathFile and Sec are one pixel wide: the panel keeps them for the hint and the sort.
const ColumnLayout kColumns[kPlaylistColumnCount] = {
    {"Title", 0}, {"Artist", 0}, {"Album", 0}, {"Year", 40}, {"Genre", 40}, {"Length", 45},
    {"Track", 40}, {"Bitrate", 45}, {"Size", -1}, {"PathFile", 1}, {"Sec", 1},
};

} // namespace

QString columnCaption(PlaylistColumn column)
{
    return QLatin1String(kColumns[int(column)].caption);
}

int columnWidth(PlaylistColumn column)
{
    return kColumns[int(column)].width;
}

QString columnText(const AudioInfo& entry, PlaylistColumn column)
{
    switch (column) {
    case PlaylistColumn::Title: return entry.title;
    case PlaylistColumn::Artist: return entry.artist;
    case PlaylistColumn::Album: return entry.album;
    case PlaylistColumn::Year: return entry.year;
    case PlaylistColumn::Genre: return entry.genre;
    case PlaylistColumn::Length: return entry.length;
    case PlaylistColumn::Track: return entry.track;
    case PlaylistColumn::Bitrate: return entry.bitrate;
    case PlaylistColumn::Size: return QString::number(entry.size);
    case PlaylistColumn::PathFile: return entry.path;
    case PlaylistColumn::Sec: return entry.seconds;
    }
    return QString();
}

} // namespace media
