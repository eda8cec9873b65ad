#pragma once
// What the MPRIS2 player interface (org.mpris.MediaPlayer2.Player) reports of the playlist's
// player, worked out from plain facts so that the mapping is tested without a bus: the
// playback status, the track's metadata (xesam and mpris keys, lengths in microseconds) and
// the Can* flags. The D-Bus adaptors only read these maps.

#include "media/AudioInfo.h"
#include "platform/MediaPlayer.h"

#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace media {

// The player and playlist as the desktop sees them.
struct MprisFacts {
    MediaMode mode = MediaMode::NotReady;
    std::optional<AudioInfo> track; // the song loaded, else the selected entry
    bool loaded = false;            // track is the song open in the player
    qint64 lengthMs = 0;            // the player's length of the loaded song, 0 when unknown
    int entries = 0;
    int volume = 1000; // 0..1000
};

class MprisProperties {
public:
    // "Playing", "Paused" or "Stopped".
    static QString playbackStatus(MediaMode mode);
    // Empty without a track; else mpris:trackid, xesam:title (the entry's title, which is the
    // file name when the file has none), xesam:url and, when known, xesam:artist (a list),
    // xesam:album, xesam:genre, xesam:trackNumber and mpris:length.
    static QVariantMap metadata(const MprisFacts& facts);
    // A track's id: an object path made from a digest of the file's name bytes, the same for
    // the same file however the playlist is sorted.
    static QDBusObjectPath trackId(const QString& path);
    // Every property of the Player interface that is announced when it changes (Position is
    // read on demand only, as the interface wants).
    static QVariantMap player(const MprisFacts& facts);
    // The entries of after whose values differ from before (or are new).
    static QVariantMap changed(const QVariantMap& before, const QVariantMap& after);
    // The MPRIS volume (1.0 is full) as the panel's 0..1000, bounded.
    static int volumeFromMpris(double volume);
};

} // namespace media
