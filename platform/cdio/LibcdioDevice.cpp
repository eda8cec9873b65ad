#include "platform/cdio/LibcdioDevice.h"

#include "platform/cdio/CdSectorReader.h"

#include <QFile>
#include <QFileInfo>

#include <cdio/cdio.h>
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
    : m_sink(CdAudioSink::create())
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
    // The playback reads the disc through its own handle: it ends with the device's.
    m_playback.reset();
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

int LibcdioDevice::trackStart(int track)
{
    return cdio_get_track_lsn(m_cdio, track_t(cdio_get_first_track_num(m_cdio) + track - 1));
}

int LibcdioDevice::trackAt(int lsn)
{
    int track = 1;
    for (int t = 2; t <= trackCount() && trackStart(t) <= lsn; ++t)
        track = t;
    return track;
}

CdPosition LibcdioDevice::position()
{
    if (!mediaPresent())
        return {};
    int lsn = m_playback ? m_playback->currentLsn() : -1;
    if (lsn < 0)
        lsn = m_seekLsn >= 0 ? m_seekLsn : trackStart(1);
    const int track = trackAt(lsn);
    return CdPosition::fromFrames(track, lsn - trackStart(track));
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
    return m_playback ? m_playback->mode() : MediaMode::Stopped;
}

CdDigitalPlayback& LibcdioDevice::playback()
{
    if (!m_playback) {
        const QByteArray device = QFile::encodeName(m_device);
        auto open = [device](QString* error) -> std::unique_ptr<CdSampleSource> { return CdSectorReader::open(device, error); };
        m_playback = std::make_unique<CdDigitalPlayback>(open, m_sink.get());
        applyGains();
    }
    return *m_playback;
}

bool LibcdioDevice::playFrom(int lsn)
{
    if (!playback().play(lsn, cdio_get_track_lsn(m_cdio, CDIO_CDROM_LEADOUT_TRACK)))
        return fail(playback().errorString());
    clearError();
    return true;
}

bool LibcdioDevice::play(int fromTrack)
{
    if (!need())
        return false;
    if (fromTrack < 1 || fromTrack > trackCount())
        return fail(QStringLiteral("The CD has no track ") + QString::number(fromTrack) + QStringLiteral("."));
    const int lsn = m_seekLsn >= 0 ? m_seekLsn : trackStart(fromTrack);
    m_seekLsn = -1;
    return playFrom(lsn);
}

bool LibcdioDevice::pause()
{
    if (!need())
        return false;
    playback().pause();
    return true;
}

bool LibcdioDevice::resume()
{
    if (!need())
        return false;
    playback().resume();
    return true;
}

bool LibcdioDevice::stop()
{
    if (!need())
        return false;
    if (m_playback)
        m_playback->stop();
    return true;
}

bool LibcdioDevice::seekToTrack(int track)
{
    if (!need())
        return false;
    if (track < 1 || track > trackCount())
        return fail(QStringLiteral("The CD has no track ") + QString::number(track) + QStringLiteral("."));
    if (mode() == MediaMode::Playing)
        return playFrom(trackStart(track));
    stop();
    m_seekLsn = trackStart(track);
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

void LibcdioDevice::applyGains()
{
    if (m_playback)
        m_playback->setGains(m_on[0] ? m_levels[0] / 65535.0 : 0.0, m_on[1] ? m_levels[1] / 65535.0 : 0.0);
}

bool LibcdioDevice::setChannelOn(CdChannel channel, bool on)
{
    if (!need())
        return false;
    m_on[channel == CdChannel::Left ? 0 : 1] = on;
    applyGains();
    return true;
}

bool LibcdioDevice::setVolume(int left, int right)
{
    if (!need())
        return false;
    m_levels = {qBound(0, left, 65535), qBound(0, right, 65535)};
    applyGains();
    return true;
}

bool LibcdioDevice::volume(int* left, int* right)
{
    if (!need())
        return false;
    *left = m_levels[0];
    *right = m_levels[1];
    return true;
}
