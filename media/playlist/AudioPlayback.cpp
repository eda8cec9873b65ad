#include "media/playlist/AudioPlayback.h"

#include "platform/LocalFiles.h"

#include <QRandomGenerator>

namespace media {

namespace {

constexpr int kTickMs = 1000;

} // namespace

AudioPlayback::AudioPlayback(Playlist& playlist, QObject* parent)
    : QObject(parent)
    , m_playlist(playlist)
    , m_continuous([] { return false; })
    , m_shuffle([] { return false; })
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &AudioPlayback::tick);
}

AudioPlayback::~AudioPlayback()
{
    if (m_player)
        m_player->disconnect(this);
}

MediaPlayer& AudioPlayback::player()
{
    if (!m_player) {
        m_player = MediaPlayer::create();
        m_player->setVolume(m_volume);
        connect(m_player.get(), &MediaPlayer::notified, this, &AudioPlayback::noticed);
        connect(m_player.get(), &MediaPlayer::modeChanged, this, [this](MediaMode mode) { Q_EMIT modeChanged(modeName(mode)); });
    }
    return *m_player;
}

QString AudioPlayback::modeName(MediaMode mode)
{
    switch (mode) {
    case MediaMode::NotReady: return QStringLiteral("Not ready");
    case MediaMode::Stopped: return QStringLiteral("Stopped");
    case MediaMode::Playing: return QStringLiteral("Playing");
    case MediaMode::Recording: return QStringLiteral("Recording");
    case MediaMode::Seeking: return QStringLiteral("Seeking");
    case MediaMode::Paused: return QStringLiteral("Paused");
    case MediaMode::Open: return QStringLiteral("Open");
    }
    return QString();
}

bool AudioPlayback::playRequest(bool resuming)
{
    // The one request whose completion is asked for: its Successful notice is the end of
    // the media, and nothing else is.
    player().setNotify(true);
    const bool ok = resuming ? player().resume() : player().play();
    player().setNotify(false);
    return ok;
}

void AudioPlayback::playPause()
{
    const MediaMode mode = player().mode();
    if (mode == MediaMode::Playing || mode == MediaMode::Seeking) {
        player().pause();
        return;
    }
    if (mode == MediaMode::Paused || mode == MediaMode::Open) {
        playRequest(true);
        return;
    }
    if (m_playlist.isEmpty())
        return;
    if (m_playlist.current() < 0)
        select(0);
    startSong(m_playlist.at(m_playlist.current()).path);
}

void AudioPlayback::startSong(const QString& path)
{
    if (!LocalFiles::exists(path))
        return;
    m_timer.stop();
    player().close();
    if (!player().open(path) || !playRequest(false)) {
        const QString reason = player().errorString();
        reset();
        Q_EMIT playFailed(path, reason);
        return;
    }
    m_timer.start();
    Q_EMIT songStarted(path);
}

void AudioPlayback::reset()
{
    m_timer.stop();
    if (m_player)
        m_player->close();
}

void AudioPlayback::stop()
{
    reset();
    Q_EMIT songStopped();
}

void AudioPlayback::select(int index)
{
    m_playlist.setCurrent(index);
    Q_EMIT currentChanged(m_playlist.current());
}

void AudioPlayback::next()
{
    if (m_playlist.isEmpty())
        return;
    select(m_playlist.nextIndex());
    playEntry(m_playlist.current());
}

void AudioPlayback::previous()
{
    if (m_playlist.isEmpty())
        return;
    select(m_playlist.previousIndex());
    playEntry(m_playlist.current());
}

void AudioPlayback::playEntry(int index)
{
    if (index < 0 || index >= m_playlist.count())
        return;
    if (m_playlist.current() != index)
        select(index);
    reset();
    startSong(m_playlist.at(index).path);
}

void AudioPlayback::seek(qint64 positionMs)
{
    if (fileName().isEmpty())
        return;
    const bool playing = player().mode() == MediaMode::Playing;
    player().seek(positionMs);
    // A seek takes the place of the play: play again from the new position.
    if (playing)
        playRequest(false);
}

void AudioPlayback::setVolume(int volume)
{
    const int bounded = qBound(0, volume, 1000);
    if (bounded == m_volume)
        return;
    m_volume = bounded;
    if (m_player)
        m_player->setVolume(m_volume);
    Q_EMIT volumeChanged(m_volume);
}

void AudioPlayback::tick()
{
    if (fileName().isEmpty())
        return;
    Q_EMIT positionChanged(player().position(), player().length());
}

void AudioPlayback::noticed(MediaNotifyValue value)
{
    if (value == MediaNotifyValue::Successful)
        endOfSong();
    else if (value == MediaNotifyValue::Failure) {
        const QString path = player().fileName();
        const QString reason = player().errorString();
        reset();
        Q_EMIT playFailed(path, reason);
    }
}

void AudioPlayback::endOfSong()
{
    m_timer.stop();
    switch (songEndAction(m_continuous(), m_shuffle())) {
    case SongEndAction::Stop:
        Q_EMIT songEnded();
        return;
    case SongEndAction::PlayNext:
        next();
        return;
    case SongEndAction::PlayRandom:
        playEntry(m_playlist.randomIndex(m_random ? *m_random : *QRandomGenerator::global()));
        return;
    }
}

} // namespace media
