#include "media/mpris/MprisProperties.h"

#include <QCryptographicHash>
#include <QFile>
#include <QUrl>

namespace media {

QString MprisProperties::playbackStatus(MediaMode mode)
{
    switch (mode) {
    case MediaMode::Playing:
    case MediaMode::Seeking:
        return QStringLiteral("Playing");
    // An opened song that is not playing resumes on Play/Pause, as a paused one does.
    case MediaMode::Paused:
    case MediaMode::Open:
        return QStringLiteral("Paused");
    case MediaMode::NotReady:
    case MediaMode::Stopped:
    case MediaMode::Recording:
        break;
    }
    return QStringLiteral("Stopped");
}

QDBusObjectPath MprisProperties::trackId(const QString& path)
{
    const QByteArray digest = QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha1).toHex();
    return QDBusObjectPath(QStringLiteral("/org/folvane3/track/t") + QString::fromLatin1(digest));
}

QVariantMap MprisProperties::metadata(const MprisFacts& facts)
{
    if (!facts.track)
        return {};
    const AudioInfo& track = *facts.track;
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId(track.path)));
    map.insert(QStringLiteral("xesam:title"), track.title);
    map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(track.path).toString(QUrl::FullyEncoded));
    if (!track.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    if (!track.album.isEmpty())
        map.insert(QStringLiteral("xesam:album"), track.album);
    if (!track.genre.isEmpty())
        map.insert(QStringLiteral("xesam:genre"), QStringList{track.genre});
    bool numbered = false;
    const int number = track.track.toInt(&numbered);
    if (numbered)
        map.insert(QStringLiteral("xesam:trackNumber"), number);
    // The player's own length of the song it has open is exact; the reader's whole seconds
    // stand in for an entry not yet played.
    bool counted = false;
    const qint64 seconds = track.seconds.toLongLong(&counted);
    const qint64 lengthUs = facts.loaded && facts.lengthMs > 0 ? facts.lengthMs * 1000 : counted ? seconds * 1000000 : 0;
    if (lengthUs > 0)
        map.insert(QStringLiteral("mpris:length"), lengthUs);
    return map;
}

QVariantMap MprisProperties::player(const MprisFacts& facts)
{
    const bool any = facts.entries > 0;
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatus(facts.mode)},
        {QStringLiteral("Metadata"), metadata(facts)},
        {QStringLiteral("Volume"), facts.volume / 1000.0},
        {QStringLiteral("CanPlay"), any},
        {QStringLiteral("CanPause"), any},
        // As the panel's buttons: with one entry there is nothing to move to.
        {QStringLiteral("CanGoNext"), facts.entries > 1},
        {QStringLiteral("CanGoPrevious"), facts.entries > 1},
        {QStringLiteral("CanSeek"), facts.loaded},
    };
}

QVariantMap MprisProperties::changed(const QVariantMap& before, const QVariantMap& after)
{
    QVariantMap result;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()) || before.value(it.key()) != it.value())
            result.insert(it.key(), it.value());
    }
    return result;
}

int MprisProperties::volumeFromMpris(double volume)
{
    return qRound(qBound(0.0, volume, 1.0) * 1000);
}

} // namespace media
