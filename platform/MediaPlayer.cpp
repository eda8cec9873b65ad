#include "platform/MediaPlayer.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// The player of a build without a media framework: nothing opens.
class UnavailablePlayer final : public MediaPlayer {
public:
    MediaMode mode() const override { return MediaMode::NotReady; }
    qint64 position() const override { return 0; }
    qint64 length() const override { return 0; }
    void setDisplay(QWidget*, const QRect&) override {}
    void setVolume(int) override {}
    int volume() const override { return 1000; }

protected:
    Status doOpen(const QString&) override
    {
        return Status::failure(QStringLiteral("Media"), QStringLiteral("Media playback is not available in this build of the program."));
    }
    void doClose() override {}
    Status doPlay() override { return Status::failure(QStringLiteral("Media"), QStringLiteral("The command failed on the media device.")); }
    bool doPause() override { return false; }
    bool doResume() override { return false; }
    bool doStop() override { return false; }
    bool doSeek(qint64) override { return false; }
};

std::function<std::unique_ptr<MediaPlayer>()>& factory()
{
    static std::function<std::unique_ptr<MediaPlayer>()> make;
    return make;
}

} // namespace

MediaPlayer::MediaPlayer() = default;
MediaPlayer::~MediaPlayer() = default;

std::unique_ptr<MediaPlayer> MediaPlayer::create()
{
    if (factory())
        return factory()();
    return std::make_unique<UnavailablePlayer>();
}

void MediaPlayer::setFactory(std::function<std::unique_ptr<MediaPlayer>()> make)
{
    factory() = std::move(make);
}

void MediaPlayer::sendNotice(MediaNotifyValue value)
{
    QMetaObject::invokeMethod(this, [this, value] { Q_EMIT notified(value); }, Qt::QueuedConnection);
}

// A new request ends a play that is still running.
void MediaPlayer::begin(MediaNotifyValue forPending)
{
    m_error.clear();
    if (!m_playPending)
        return;
    m_playPending = false;
    if (m_playNotify)
        sendNotice(forPending);
}

bool MediaPlayer::finishNow(bool ok, const QString& error)
{
    if (!ok)
        m_error = error.isEmpty() ? QStringLiteral("The command failed on the media device.") : error;
    if (m_notify)
        sendNotice(ok ? MediaNotifyValue::Successful : MediaNotifyValue::Failure);
    return ok;
}

bool MediaPlayer::open(const QString& fileName)
{
    begin(MediaNotifyValue::Aborted);
    doClose();
    const Status opened = doOpen(fileName);
    m_fileName = opened ? fileName : QString();
    return finishNow(opened.ok(), opened.errorString());
}

void MediaPlayer::close()
{
    begin(MediaNotifyValue::Aborted);
    doClose();
    m_fileName.clear();
    finishNow(true);
}

bool MediaPlayer::play()
{
    return startPlaying(false);
}

bool MediaPlayer::resume()
{
    return startPlaying(true);
}

// A play (or the resumption of one) is pending until the media ends, as far as notify and
// wait are concerned.
bool MediaPlayer::startPlaying(bool resuming)
{
    begin(MediaNotifyValue::Superseded);
    if (resuming && !doResume())
        return finishNow(false);
    if (!resuming) {
        if (const Status started = doPlay(); !started)
            return finishNow(false, started.errorString());
    }
    m_playPending = true;
    m_playNotify = m_notify;
    m_playEnded = false;
    if (m_wait) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (m_playEnded || !m_playPending)
                loop.quit();
        });
        poll.start(10);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return m_error.isEmpty();
}

void MediaPlayer::playEnded(MediaNotifyValue value, const QString& error)
{
    m_playEnded = true;
    if (!error.isEmpty())
        m_error = error;
    if (!m_playPending)
        return;
    m_playPending = false;
    if (m_playNotify)
        sendNotice(value);
}

bool MediaPlayer::pause()
{
    begin(MediaNotifyValue::Superseded);
    return finishNow(doPause());
}

bool MediaPlayer::stop()
{
    begin(MediaNotifyValue::Aborted);
    return finishNow(doStop());
}

bool MediaPlayer::seek(qint64 positionMs)
{
    begin(MediaNotifyValue::Superseded);
    return finishNow(doSeek(positionMs));
}
