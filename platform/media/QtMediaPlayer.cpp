#include "platform/media/QtMediaPlayer.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QVideoWidget>

namespace {

constexpr int kOpenTimeoutMs = 10000;

} // namespace

QtMediaPlayer::QtMediaPlayer() = default;

QtMediaPlayer::~QtMediaPlayer()
{
    doClose();
    delete m_video;
}

void QtMediaPlayer::install()
{
    MediaPlayer::setFactory([] { return std::make_unique<QtMediaPlayer>(); });
}

MediaMode QtMediaPlayer::mode() const
{
    if (!m_open)
        return MediaMode::NotReady;
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return m_player->mediaStatus() == QMediaPlayer::BufferingMedia ? MediaMode::Seeking : MediaMode::Playing;
    case QMediaPlayer::PausedState:
        return m_stopped ? MediaMode::Stopped : MediaMode::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return MediaMode::Stopped;
}

Status QtMediaPlayer::doOpen(const QString& fileName)
{
    if (!LocalFiles::isFile(fileName))
        return Status::failure(QStringLiteral("Media"), QStringLiteral("The specified file was not found."));
    m_player = std::make_unique<QMediaPlayer>();
    m_player->setAudioOutput(&m_audio);
    if (m_video)
        m_player->setVideoOutput(m_video.data());
    if (const Status loaded = load(fileName); !loaded) {
        m_player.reset();
        return loaded;
    }
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this, &QtMediaPlayer::statusChanged);
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this, &QtMediaPlayer::failed);
    connect(m_player.get(), &QMediaPlayer::playbackStateChanged, this, [this] { Q_EMIT modeChanged(mode()); });
    m_open = true;
    return Status();
}

// Opening is a synchronous request: waits until the framework has loaded or refused the file.
Status QtMediaPlayer::load(const QString& fileName)
{
    const auto settled = [this] {
        const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
        return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::InvalidMedia;
    };
    QEventLoop loop;
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&] {
        if (settled())
            loop.quit();
    });
    QTimer::singleShot(kOpenTimeoutMs, &loop, &QEventLoop::quit);
    // The name's own bytes, percent-encoded: "#" and "?" are no URL syntax here, and a name
    // that is not UTF-8 still reaches its file.
    m_player->setSource(FileName::toUrl(LocalFiles::absolutePath(fileName)));
    if (!settled())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(m_player.get(), nullptr, &loop, nullptr);
    if (m_player->mediaStatus() == QMediaPlayer::LoadedMedia)
        return Status();
    return Status::failure(QStringLiteral("Media"), m_player->errorString().isEmpty() ? QStringLiteral("The media device cannot open this file.")
                                                                                      : m_player->errorString());
}

void QtMediaPlayer::doClose()
{
    m_open = false;
    if (m_player) {
        m_player->disconnect(this);
        m_player->stop();
        m_player.reset();
    }
}

Status QtMediaPlayer::doPlay()
{
    if (!m_open)
        return Status::failure(QStringLiteral("Media"), QStringLiteral("No file is open on the media device."));
    // Play starts where the media stands; at its end it starts again from the beginning.
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        m_player->setPosition(0);
    m_stopped = false;
    m_player->play();
    return Status();
}

bool QtMediaPlayer::doPause()
{
    if (!m_open)
        return false;
    m_stopped = false;
    m_player->pause();
    return true;
}

bool QtMediaPlayer::doResume()
{
    if (!m_open)
        return false;
    m_stopped = false;
    m_player->play();
    return true;
}

bool QtMediaPlayer::doStop()
{
    if (!m_open)
        return false;
    m_stopped = true;
    m_player->pause(); // stopped in place, as the device does; play goes on from here
    return true;
}

bool QtMediaPlayer::doSeek(qint64 positionMs)
{
    if (!m_open)
        return false;
    m_player->setPosition(qBound<qint64>(0, positionMs, std::max<qint64>(0, m_player->duration())));
    return true;
}

void QtMediaPlayer::setDisplay(QWidget* window, const QRect& rect)
{
    if (!window)
        return;
    if (!m_video || m_video->parentWidget() != window) {
        delete m_video;
        m_video = new QVideoWidget(window);
        m_video->setAspectRatioMode(Qt::IgnoreAspectRatio);
        if (m_player)
            m_player->setVideoOutput(m_video.data());
    }
    m_video->setGeometry(rect);
    m_video->show();
}

void QtMediaPlayer::setVolume(int volume)
{
    m_volume = qBound(0, volume, 1000);
    m_audio.setVolume(float(m_volume) / 1000.0f);
}

void QtMediaPlayer::statusChanged(QMediaPlayer::MediaStatus status)
{
    if (status == QMediaPlayer::EndOfMedia)
        playEnded(MediaNotifyValue::Successful);
    Q_EMIT modeChanged(mode());
}

void QtMediaPlayer::failed(QMediaPlayer::Error error, const QString& text)
{
    if (error != QMediaPlayer::NoError)
        playEnded(MediaNotifyValue::Failure, text);
}
