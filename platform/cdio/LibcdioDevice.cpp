#include "platform/cdio/LibcdioDevice.h"

#include <QFile>
#include <QFileInfo>

#include <cdio/cdio.h>
#include <cdio/audio.h>
#include <cdio/mmc.h>
#include <cdio/logging.h>
#include <cdio/util.h>

namespace {

const QString kNotOpen = QStringLiteral("The CD device is not open.");

// The library writes its warnings (a missing drive, a disc it cannot read) to stderr; the
// program reports failures itself through errorString().
void quietLog(cdio_log_level_t, const char*) {}

} // namespace

LibcdioDevice::LibcdioDevice()
{
    cdio_log_set_handler(quietLog);
}

LibcdioDevice::~LibcdioDevice()
{
    close();
}

bool LibcdioDevice::open(const QString& device)
{
    close();
    clearError();
    QByteArray name = QFile::encodeName(device);
    if (name.isEmpty()) {
        char* found = cdio_get_default_device(nullptr);
        if (!found)
            return fail(QStringLiteral("There is no CD drive in this computer."));
        name = found;
        cdio_free(found);
    }
    // A disc image (a .cue or .bin file) is read through libcdio's image drivers: its table
    // of contents and lengths, without a drive to play it.
    m_cdio = cdio_open(name.constData(), QFileInfo(QFile::decodeName(name)).isFile() ? DRIVER_UNKNOWN : DRIVER_DEVICE);
    if (!m_cdio)
        return fail(QStringLiteral("Cannot open the CD drive ") + QFile::decodeName(name) + QStringLiteral("."));
    m_device = QFile::decodeName(name);
    return true;
}

void LibcdioDevice::close()
{
    if (m_cdio)
        cdio_destroy(m_cdio);
    m_cdio = nullptr;
    m_seekLsn = -1;
}

bool LibcdioDevice::need()
{
    return m_cdio ? true : fail(kNotOpen);
}

bool LibcdioDevice::done(int code, const char* what)
{
    if (code == DRIVER_OP_SUCCESS) {
        clearError();
        return true;
    }
    return fail(QStringLiteral("The CD device could not ") + QLatin1String(what) + QStringLiteral(" (")
                + QString::fromLatin1(cdio_driver_errmsg(driver_return_code_t(code))) + QStringLiteral(")."));
}

bool LibcdioDevice::mediaPresent()
{
    return m_cdio && cdio_get_discmode(m_cdio) != CDIO_DISC_MODE_NO_INFO && cdio_get_num_tracks(m_cdio) != CDIO_INVALID_TRACK;
}

bool LibcdioDevice::isReady()
{
    return mediaPresent();
}

int LibcdioDevice::trackCount()
{
    if (!mediaPresent())
        return 0;
    return cdio_get_num_tracks(m_cdio);
}

CdPosition LibcdioDevice::trackLength(int track)
{
    if (!mediaPresent() || track < 1 || track > trackCount())
        return {};
    const track_t first = cdio_get_first_track_num(m_cdio);
    const track_t number = track_t(first + track - 1);
    const lsn_t start = cdio_get_track_lsn(m_cdio, number);
    const lsn_t end = track == trackCount() ? cdio_get_track_lsn(m_cdio, CDIO_CDROM_LEADOUT_TRACK)
                                            : cdio_get_track_lsn(m_cdio, track_t(number + 1));
    return CdPosition::fromFrames(0, end - start);
}

CdPosition LibcdioDevice::position()
{
    cdio_subchannel_t sub {};
    if (!mediaPresent() || cdio_audio_read_subchannel(m_cdio, &sub) != DRIVER_OP_SUCCESS)
        return {};
    const int track = sub.track - cdio_get_first_track_num(m_cdio) + 1;
    return CdPosition::fromFrames(track, cdio_msf_to_lsn(&sub.abs_addr) - cdio_get_track_lsn(m_cdio, sub.track));
}

int LibcdioDevice::currentTrack()
{
    return position().track;
}

MediaMode LibcdioDevice::mode()
{
    if (!m_cdio)
        return MediaMode::NotReady;
    if (!mediaPresent())
        return MediaMode::Open;
    cdio_subchannel_t sub {};
    if (cdio_audio_read_subchannel(m_cdio, &sub) != DRIVER_OP_SUCCESS)
        return MediaMode::NotReady;
    switch (sub.audio_status) {
    case CDIO_MMC_READ_SUB_ST_PLAY: return MediaMode::Playing;
    case CDIO_MMC_READ_SUB_ST_PAUSED: return MediaMode::Paused;
    default: return MediaMode::Stopped;
    }
}

bool LibcdioDevice::playFrom(int lsn)
{
    msf_t start {};
    msf_t end {};
    cdio_lsn_to_msf(lsn, &start);
    cdio_lsn_to_msf(cdio_get_track_lsn(m_cdio, CDIO_CDROM_LEADOUT_TRACK) - 1, &end);
    return done(cdio_audio_play_msf(m_cdio, &start, &end), "play");
}

bool LibcdioDevice::play(int fromTrack)
{
    if (!need())
        return false;
    if (fromTrack < 1 || fromTrack > trackCount())
        return fail(QStringLiteral("The CD has no track ") + QString::number(fromTrack) + QStringLiteral("."));
    const int lsn = m_seekLsn >= 0 ? m_seekLsn : cdio_get_track_lsn(m_cdio, track_t(cdio_get_first_track_num(m_cdio) + fromTrack - 1));
    m_seekLsn = -1;
    return playFrom(lsn);
}

bool LibcdioDevice::pause()
{
    return need() && done(cdio_audio_pause(m_cdio), "pause");
}

bool LibcdioDevice::resume()
{
    return need() && done(cdio_audio_resume(m_cdio), "resume");
}

bool LibcdioDevice::stop()
{
    return need() && done(cdio_audio_stop(m_cdio), "stop");
}

bool LibcdioDevice::seekToTrack(int track)
{
    if (!need())
        return false;
    if (track < 1 || track > trackCount())
        return fail(QStringLiteral("The CD has no track ") + QString::number(track) + QStringLiteral("."));
    const bool playing = mode() == MediaMode::Playing;
    const int lsn = cdio_get_track_lsn(m_cdio, track_t(cdio_get_first_track_num(m_cdio) + track - 1));
    if (playing)
        return playFrom(lsn);
    stop();
    m_seekLsn = lsn;
    return true;
}

bool LibcdioDevice::canEject()
{
    return m_cdio != nullptr;
}

bool LibcdioDevice::openDoor()
{
    if (!need())
        return false;
    const QByteArray device = QFile::encodeName(m_device);
    close(); // the drive must not be held while its tray moves
    const bool ok = done(cdio_eject_media_drive(device.constData()), "open the tray");
    m_cdio = cdio_open(device.constData(), DRIVER_DEVICE);
    return ok;
}

bool LibcdioDevice::closeDoor()
{
    if (!need())
        return false;
    driver_id_t driver = DRIVER_DEVICE;
    return done(cdio_close_tray(QFile::encodeName(m_device).constData(), &driver), "close the tray");
}

bool LibcdioDevice::setChannelOn(CdChannel channel, bool on)
{
    if (!need())
        return false;
    const std::size_t index = channel == CdChannel::Left ? 0 : 1;
    m_on[index] = on;
    cdio_audio_volume_t levels {};
    if (cdio_audio_get_volume(m_cdio, &levels) == DRIVER_OP_SUCCESS && on == false)
        m_levels[index] = levels.level[index];
    levels.level[index] = uint8_t(on ? m_levels[index] : 0);
    return done(cdio_audio_set_volume(m_cdio, &levels), "set the channel");
}

bool LibcdioDevice::setVolume(int left, int right)
{
    if (!need())
        return false;
    m_levels = {qBound(0, left, 65535) >> 8, qBound(0, right, 65535) >> 8};
    cdio_audio_volume_t levels {};
    cdio_audio_get_volume(m_cdio, &levels);
    for (std::size_t i = 0; i < 2; ++i)
        levels.level[i] = uint8_t(m_on[i] ? m_levels[i] : 0);
    return done(cdio_audio_set_volume(m_cdio, &levels), "set the volume");
}

bool LibcdioDevice::volume(int* left, int* right)
{
    cdio_audio_volume_t levels {};
    if (!need() || !done(cdio_audio_get_volume(m_cdio, &levels), "read the volume"))
        return false;
    *left = levels.level[0] * 257;
    *right = levels.level[1] * 257;
    return true;
}
