#include "platform/cdio/CdSectorReader.h"

#include "platform/ByteOrder.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

namespace {

// Paranoia reports its progress through a callback; playback needs none of it.
void ignoreProgress(long, paranoia_cb_mode_t) {}

} // namespace

CdSectorReader::~CdSectorReader()
{
    if (m_paranoia)
        cdio_paranoia_free(m_paranoia);
    if (m_drive)
        cdio_cddap_close_no_free_cdio(m_drive);
    if (m_cdio)
        cdio_destroy(m_cdio);
}

std::unique_ptr<CdSectorReader> CdSectorReader::open(const QByteArray& device, QString* error)
{
    std::unique_ptr<CdSectorReader> reader(new CdSectorReader);
    const bool image = QFileInfo(QFile::decodeName(device)).isFile();
    reader->m_cdio = cdio_open(device.constData(), image ? DRIVER_UNKNOWN : DRIVER_DEVICE);
    if (reader->m_cdio)
        reader->m_drive = cdio_cddap_identify_cdio(reader->m_cdio, CDDA_MESSAGE_FORGETIT, nullptr);
    if (!reader->m_drive || cdio_cddap_open(reader->m_drive) != 0) {
        *error = QStringLiteral("Cannot read the audio CD in ") + QFile::decodeName(device) + QStringLiteral(".");
        return nullptr;
    }
    reader->m_paranoia = cdio_paranoia_init(reader->m_drive);
    cdio_paranoia_modeset(reader->m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    return reader;
}

bool CdSectorReader::read(int lsn, int count, QByteArray* pcm)
{
    if (lsn != m_nextLsn)
        cdio_paranoia_seek(m_paranoia, lsn, SEEK_SET);
    for (int i = 0; i < count; ++i) {
        const int16_t* samples = cdio_paranoia_read(m_paranoia, ignoreProgress);
        if (!samples) {
            m_nextLsn = -1;
            m_error = QStringLiteral("The CD could not be read at sector ") + QString::number(lsn + i) + QStringLiteral(".");
            return false;
        }
        // Paranoia gives samples in the machine's order; the stream carries little-endian.
        const qsizetype at = pcm->size();
        pcm->resize(at + kSectorBytes);
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            std::memcpy(pcm->data() + at, samples, kSectorBytes);
            continue;
        }
        for (int s = 0; s < kSectorBytes / 2; ++s)
            byteorder::writeLE16(pcm->data() + at + 2 * s, std::uint16_t(samples[s]));
    }
    m_nextLsn = lsn + count;
    return true;
}
