#include "media/CdPlayer.h"

namespace {

const QString kNotAvailable = QStringLiteral("not available");
const QString kDisabled = QStringLiteral("disabled");
const QString kNoDisk = QStringLiteral(": no disk");

} // namespace

CdPlayer::CdPlayer(std::unique_ptr<CdAudioDevice> device, DriveLister drives)
    : m_device(std::move(device))
    , m_lister(std::move(drives))
{
}

CdPlayer::~CdPlayer() = default;

QString CdPlayer::driveText(const CdDrive& drive)
{
    return drive.hasDisc ? drive.device : drive.device + kNoDisk;
}

int CdPlayer::steppedTrack(int current, int count, int step)
{
    if (count <= 0)
        return 0;
    const int next = current + step;
    if (next > count)
        return 1;
    if (next < 1)
        return count;
    return next;
}

QString CdPlayer::clockText(const CdPosition& position)
{
    return QStringLiteral("%1:%2").arg(position.minutes, 2, 10, QLatin1Char('0')).arg(position.seconds, 2, 10, QLatin1Char('0'));
}

void CdPlayer::start()
{
    if (m_state.opened)
        m_device->stop();
    fillDrives();
    m_state.timeDisplayOn = true;
    openDevice();
}

void CdPlayer::fillDrives()
{
    m_seen = m_lister();
    m_state.drives.clear();
    m_state.driveIndex = m_seen.isEmpty() ? -1 : 0;
    for (int i = 0; i < m_seen.size(); ++i) {
        m_state.drives << driveText(m_seen[i]);
        if (m_seen[i].hasDisc)
            m_state.driveIndex = i;
    }
}

QString CdPlayer::selectedDevice() const
{
    return m_state.driveIndex >= 0 ? m_seen.value(m_state.driveIndex).device : QString();
}

void CdPlayer::clearDisplay()
{
    m_trackCount = 0;
    m_currentTrack = 0;
    m_state.tracksLabel = kNotAvailable;
    m_state.timeText.clear();
    m_state.minimisedCaption.clear();
}

void CdPlayer::openDevice()
{
    m_state.tracks.clear();
    m_state.trackIndex = -1;
    clearDisplay();
    m_state.ejectEnabled = true;
    m_state.opened = false;
    m_device->close();
    if (m_state.driveIndex < 0 || !m_device->open(selectedDevice()))
        return;
    int left = 0;
    int right = 0;
    m_state.hasVolume = m_device->volume(&left, &right);
    m_state.volumeLeft = left;
    m_state.volumeRight = right;
    if (!m_device->canEject())
        m_state.ejectEnabled = false;
    // Only a drive with a disc that answers is taken; the timer keeps trying the others.
    if (!m_device->isReady())
        return;
    m_state.opened = true;
    m_state.trayOpen = false;
    m_state.timeDisplayOn = true;
    m_trackCount = m_device->trackCount();
    for (int track = 1; track <= m_trackCount; ++track)
        m_state.tracks << QString::number(track);
    m_state.trackIndex = m_trackCount > 0 ? 0 : -1;
}

void CdPlayer::tick()
{
    if (!m_state.timeDisplayOn)
        return;
    // A drive without a ready disc is tried again every second.
    if (!m_state.opened && !m_state.trayOpen)
        openDevice();
    if (!m_state.opened || m_state.trayOpen || !m_device->isReady() || !m_device->mediaPresent()) {
        clearDisplay();
        return;
    }
    m_trackCount = m_device->trackCount();
    const CdPosition at = m_device->position();
    m_currentTrack = at.track;
    showTrack(at.track);
    const QString position = clockText(at);
    m_state.tracksLabel = QStringLiteral("Track:") + QString::number(m_currentTrack) + QStringLiteral(" of ") + QString::number(m_trackCount);
    m_state.minimisedCaption = QString::number(m_currentTrack) + QLatin1Char(' ') + position;
    m_state.timeText = clockText(m_device->trackLength(m_currentTrack)) + QLatin1Char(' ') + position;
}

void CdPlayer::showTrack(int track)
{
    const int index = m_state.tracks.indexOf(QString::number(track));
    if (index >= 0)
        m_state.trackIndex = index;
}

bool CdPlayer::followDiscs()
{
    if (m_lister() == m_seen)
        return false;
    start();
    return true;
}

// Play goes on from the track the disc is at; a disc played to its end starts again at
// track 1 (from its end there would be nothing left to hear).
void CdPlayer::play()
{
    if (!m_state.opened)
        return;
    if (m_device->mode() == MediaMode::Paused)
        m_device->resume();
    else
        m_device->play(atEndOfDisc() ? 1 : qMax(1, m_device->currentTrack()));
}

bool CdPlayer::atEndOfDisc()
{
    const int count = m_device->trackCount();
    const CdPosition at = m_device->position();
    return count > 0 && at.track == count && at.totalFrames() >= m_device->trackLength(count).totalFrames();
}

void CdPlayer::pause()
{
    if (m_state.opened)
        m_device->pause();
}

void CdPlayer::stop()
{
    if (!m_state.opened)
        return;
    m_device->stop();
    m_device->seekToTrack(1);
}

void CdPlayer::step(int direction)
{
    if (!m_state.opened)
        return;
    const int count = m_device->trackCount();
    playTrack(steppedTrack(qMax(1, m_device->currentTrack()), count, direction));
}

void CdPlayer::playTrack(int track)
{
    if (!m_state.opened || track < 1)
        return;
    m_device->stop();
    m_device->seekToTrack(track);
    m_device->play(track);
    m_currentTrack = track;
    showTrack(track);
}

void CdPlayer::pickTrack(const QString& item)
{
    bool ok = false;
    const int track = item.trimmed().toInt(&ok);
    if (ok)
        playTrack(track);
}

void CdPlayer::ejectOrClose()
{
    if (!m_device->isOpen())
        return;
    if (!m_state.trayOpen) {
        m_device->stop();
        m_device->openDoor();
        m_state.trayOpen = true;
        clearDisplay();
        return;
    }
    m_device->closeDoor();
    m_state.trayOpen = false;
}

void CdPlayer::setChannelMuted(CdChannel channel, bool muted)
{
    m_device->setChannelOn(channel, !muted);
}

void CdPlayer::setVolume(int left, int right)
{
    m_state.volumeLeft = left;
    m_state.volumeRight = right;
    m_device->setVolume(left, right);
}

void CdPlayer::selectDrive(int index)
{
    if (index < 0 || index >= m_seen.size())
        return;
    if (m_state.opened)
        m_device->stop();
    m_state.driveIndex = index;
    openDevice();
}

void CdPlayer::refreshDrives()
{
    if (m_state.opened)
        m_device->stop();
    fillDrives();
    openDevice();
}

void CdPlayer::toggleTimeDisplay()
{
    m_state.timeDisplayOn = !m_state.timeDisplayOn;
    if (!m_state.timeDisplayOn) {
        m_state.tracksLabel = kDisabled;
        m_state.timeText = kDisabled;
        return;
    }
    tick();
}

void CdPlayer::finish()
{
    if (m_state.opened)
        m_device->stop();
    m_device->close();
    m_state.opened = false;
}
