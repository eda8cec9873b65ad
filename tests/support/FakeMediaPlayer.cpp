#include "support/FakeMediaPlayer.h"

#include <QFileInfo>
#include <QPointer>

namespace {

QPointer<FakeMediaPlayer> lastMade;

} // namespace

void FakeMediaPlayer::install()
{
    MediaPlayer::setFactory([] {
        auto player = std::make_unique<FakeMediaPlayer>();
        lastMade = player.get();
        return std::unique_ptr<MediaPlayer>(std::move(player));
    });
}

FakeMediaPlayer* FakeMediaPlayer::last()
{
    return lastMade;
}

Status FakeMediaPlayer::doOpen(const QString& fileName)
{
    m_requests << QStringLiteral("open ") + fileName;
    if (!m_openError.isEmpty() || !QFileInfo(fileName).isFile())
        return Status::failure(QStringLiteral("FakeMediaPlayer"), m_openError.isEmpty() ? QStringLiteral("The specified file was not found.") : m_openError);
    m_mode = MediaMode::Stopped;
    m_position = 0;
    return Status();
}

void FakeMediaPlayer::doClose()
{
    m_requests << QStringLiteral("close");
    m_mode = MediaMode::NotReady;
}

Status FakeMediaPlayer::doPlay()
{
    m_requests << QStringLiteral("play");
    if (m_mode == MediaMode::NotReady)
        return Status::failure(QStringLiteral("FakeMediaPlayer"), QStringLiteral("No file is open on the media device."));
    m_mode = MediaMode::Playing;
    return Status();
}

bool FakeMediaPlayer::doPause()
{
    m_requests << QStringLiteral("pause");
    m_mode = m_mode == MediaMode::NotReady ? m_mode : MediaMode::Paused;
    return m_mode != MediaMode::NotReady;
}

bool FakeMediaPlayer::doResume()
{
    m_requests << QStringLiteral("resume");
    m_mode = m_mode == MediaMode::NotReady ? m_mode : MediaMode::Playing;
    return m_mode != MediaMode::NotReady;
}

bool FakeMediaPlayer::doStop()
{
    m_requests << QStringLiteral("stop");
    m_mode = m_mode == MediaMode::NotReady ? m_mode : MediaMode::Stopped;
    return m_mode != MediaMode::NotReady;
}

bool FakeMediaPlayer::doSeek(qint64 positionMs)
{
    m_requests << QStringLiteral("seek %1").arg(positionMs);
    m_position = qBound<qint64>(0, positionMs, m_length);
    return m_mode != MediaMode::NotReady;
}
