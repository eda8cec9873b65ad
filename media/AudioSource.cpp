#include "media/AudioSource.h"

#include <QFile>
#include <QFileInfo>

namespace media {

AudioSource::AudioSource() = default;

AudioSource::AudioSource(const QString& fileName)
{
    openFile(fileName);
}

AudioSource::AudioSource(QIODevice* device)
    : m_name(QStringLiteral("the audio stream"))
    , m_device(device)
    , m_size(device ? device->size() : 0)
{
}

AudioSource::~AudioSource() = default;

bool AudioSource::openFile(const QString& fileName)
{
    m_name = fileName;
    const QFileInfo info(fileName);
    if (!info.exists()) {
        m_error = QStringLiteral("%1: no such file").arg(fileName);
        return false;
    }
    if (!info.isFile()) {
        m_error = QStringLiteral("%1: not a regular file").arg(fileName);
        return false;
    }
    m_file = std::make_unique<QFile>(fileName);
    if (!m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_error = QStringLiteral("%1: %2").arg(fileName, m_file->errorString());
        m_file.reset();
        return false;
    }
    m_device = m_file.get();
    m_size = m_file->size();
    return true;
}

bool AudioSource::readAt(qint64 offset, qint64 length, QByteArray& out)
{
    out.clear();
    if (!m_device) {
        // The reason the file did not open stays the error.
        if (m_error.isEmpty())
            m_error = QStringLiteral("no file is open");
        return false;
    }
    if (offset < 0 || offset > m_size || length < 0) {
        m_error = QStringLiteral("%1: read outside the file (offset %2)").arg(m_name).arg(offset);
        return false;
    }
    const qint64 wanted = qMin(length, m_size - offset);
    if (wanted == 0)
        return true;
    if (!m_device->seek(offset)) {
        m_error = QStringLiteral("%1: %2").arg(m_name, m_device->errorString());
        return false;
    }
    out.resize(wanted);
    const qint64 got = m_device->read(out.data(), wanted);
    if (got < 0) {
        m_error = QStringLiteral("%1: %2").arg(m_name, m_device->errorString());
        out.clear();
        return false;
    }
    out.resize(got);
    return true;
}

} // namespace media
