#include "media/mpris/MprisService.h"

#include "media/mpris/MprisPlayerAdaptor.h"
#include "media/mpris/MprisRootAdaptor.h"
#include "media/ui/AudioPlayerController.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

using namespace media;

MprisService::MprisService(AudioPlayerController& audio, QObject* parent)
    : QObject(parent)
    , m_audio(audio)
    , m_bus(QString())
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &MprisService::announce);
    AudioPlayback* playback = &audio.playback();
    connect(playback, &AudioPlayback::songStarted, this, &MprisService::scheduleAnnounce);
    connect(playback, &AudioPlayback::songStopped, this, &MprisService::scheduleAnnounce);
    connect(playback, &AudioPlayback::songEnded, this, &MprisService::scheduleAnnounce);
    connect(playback, &AudioPlayback::playFailed, this, &MprisService::scheduleAnnounce);
    connect(playback, &AudioPlayback::currentChanged, this, &MprisService::scheduleAnnounce);
    connect(playback, &AudioPlayback::modeChanged, this, &MprisService::scheduleAnnounce);
    connect(playback, &AudioPlayback::volumeChanged, this, &MprisService::scheduleAnnounce);
    // The back end learns a song's length some time after it starts: the position tick
    // brings it out (an unchanged length announces nothing).
    connect(playback, &AudioPlayback::positionChanged, this, &MprisService::scheduleAnnounce);
    connect(&audio, &AudioPlayerController::playlistChanged, this, &MprisService::scheduleAnnounce);
}

QString MprisService::publish(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface())
        return QString();
    if (!bus.registerObject(QLatin1String(kPath), this, QDBusConnection::ExportAdaptors))
        return QString();
    const QString own = QLatin1String(kName);
    const QStringList names{own, own + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())};
    for (const QString& name : names) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claimed
            = bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
        if (claimed.isValid() && claimed.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_bus = bus;
            m_announced = playerProperties();
            return name;
        }
    }
    bus.unregisterObject(QLatin1String(kPath));
    return QString();
}

MprisFacts MprisService::facts() const
{
    const Playlist& playlist = m_audio.playlist();
    AudioPlayback& playback = m_audio.playback();
    MprisFacts facts;
    facts.mode = playback.mode();
    facts.entries = playlist.count();
    facts.volume = playback.volume();
    const QString loaded = playback.fileName();
    const int index = loaded.isEmpty() ? playlist.current() : playlist.indexOf(loaded);
    if (index >= 0 && index < playlist.count())
        facts.track = playlist.at(index);
    else if (!loaded.isEmpty()) {
        // A song whose entry went with a re-check plays on: shown by its file name.
        AudioInfo track;
        track.path = loaded;
        track.title = loaded.section(QLatin1Char('/'), -1);
        facts.track = track;
    }
    facts.loaded = !loaded.isEmpty();
    facts.lengthMs = facts.loaded ? playback.player().length() : 0;
    return facts;
}

qint64 MprisService::positionUs() const
{
    AudioPlayback& playback = m_audio.playback();
    return playback.fileName().isEmpty() ? 0 : playback.player().position() * 1000;
}

void MprisService::scheduleAnnounce()
{
    if (m_bus.isConnected())
        m_announce.start();
}

void MprisService::announce()
{
    const QVariantMap now = playerProperties();
    const QVariantMap changed = MprisProperties::changed(m_announced, now);
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(kPlayerInterface) << changed << QStringList();
    m_bus.send(signal);
}

void MprisService::playPause()
{
    m_audio.MenuPlayPauseAudioClick();
    scheduleAnnounce();
}

void MprisService::play()
{
    if (MprisProperties::playbackStatus(m_audio.playback().mode()) != QLatin1String("Playing"))
        playPause();
}

void MprisService::pause()
{
    if (MprisProperties::playbackStatus(m_audio.playback().mode()) == QLatin1String("Playing"))
        playPause();
}

void MprisService::stop()
{
    m_audio.MenuStopAudioClick();
    scheduleAnnounce();
}

void MprisService::next()
{
    m_audio.MenuNextAudioClick();
    scheduleAnnounce();
}

void MprisService::previous()
{
    m_audio.MenuPrevAudioClick();
    scheduleAnnounce();
}

void MprisService::seekBy(qint64 offsetUs)
{
    AudioPlayback& playback = m_audio.playback();
    if (playback.fileName().isEmpty())
        return;
    const qint64 target = qMax<qint64>(0, positionUs() + offsetUs);
    const qint64 lengthUs = playback.player().length() * 1000;
    if (lengthUs > 0 && target > lengthUs) {
        next();
        return;
    }
    playback.seek(target / 1000);
    Q_EMIT seeked(target);
}

void MprisService::setPosition(const QDBusObjectPath& trackId, qint64 positionUs)
{
    AudioPlayback& playback = m_audio.playback();
    const QString loaded = playback.fileName();
    if (loaded.isEmpty() || trackId != MprisProperties::trackId(loaded) || positionUs < 0
        || positionUs > playback.player().length() * 1000)
        return;
    playback.seek(positionUs / 1000);
    Q_EMIT seeked(positionUs);
}

void MprisService::setVolume(double volume)
{
    m_audio.setVolume(MprisProperties::volumeFromMpris(volume));
}
