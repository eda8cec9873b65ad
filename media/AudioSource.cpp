#include "media/AudioSource.h"

#include "platform/FileName.h"

#include <QIODevice>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

namespace {

// The head holds an ID3v2 tag without pictures and the frames behind it (a tag of a few
// hundred bytes and the frame search's 3458 bytes); the tail an ID3v1 tag and the last
// frames an encoder names itself in (128 + 3458 bytes). Each is copied out of the page cache
// once per file, so neither is larger than the readers need.
constexpr qint64 kHeadSize = 8 << 10;
constexpr qint64 kTailSize = 4 << 10;

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

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

AudioSource::~AudioSource()
{
    close();
}

void AudioSource::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool AudioSource::openFile(const QString& fileName)
{
    return find(fileName) && open();
}

bool AudioSource::find(const QString& fileName)
{
    close();
    m_device = nullptr;
    m_name = fileName;
    m_path = FileName::encode(fileName);
    m_size = 0;
    m_headLoaded = m_tailLoaded = false;
    m_error.clear();
    struct stat info {};
    if (::stat(m_path.constData(), &info) != 0) {
        m_error = errno == ENOENT ? QStringLiteral("%1: no such file").arg(fileName)
                                  : QStringLiteral("%1: %2").arg(fileName, systemError(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        m_error = QStringLiteral("%1: not a regular file").arg(fileName);
        return false;
    }
    m_size = info.st_size;
    return true;
}

bool AudioSource::open()
{
    // O_NONBLOCK: should the name have been replaced by a FIFO since find(), the open does
    // not wait for a writer, and the fstat below refuses it.
    m_fd = ::open(m_path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) {
        m_error = QStringLiteral("%1: %2").arg(m_name, systemError(errno));
        return false;
    }
    // The size of what was opened: the name may have been replaced since the stat.
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_error = QStringLiteral("%1: not a regular file").arg(m_name);
        close();
        return false;
    }
    m_size = info.st_size;
    return true;
}

bool AudioSource::readAt(qint64 offset, qint64 length, QByteArray& out)
{
    out.clear();
    if (m_fd < 0 && !m_device) {
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
    const qint64 headEnd = qMin(kHeadSize, m_size);
    const qint64 tailStart = qMax(headEnd, m_size - kTailSize);
    if (offset + wanted <= headEnd) {
        loadWindow(m_head, m_headLoaded, 0, headEnd);
        if (fromWindow(m_head, 0, offset, wanted, out))
            return true;
    } else if (offset >= tailStart) {
        loadWindow(m_tail, m_tailLoaded, tailStart, m_size);
        if (fromWindow(m_tail, tailStart, offset, wanted, out))
            return true;
    }
    return fetch(offset, wanted, out);
}

void AudioSource::loadWindow(QByteArray& window, bool& loaded, qint64 start, qint64 end)
{
    if (loaded)
        return;
    loaded = true;
    if (!fetch(start, end - start, window))
        window.clear();
}

bool AudioSource::fromWindow(const QByteArray& window, qint64 start, qint64 offset, qint64 length, QByteArray& out)
{
    if (offset < start || offset + length > start + window.size())
        return false;
    out = window.mid(offset - start, length);
    return true;
}

bool AudioSource::fetch(qint64 offset, qint64 length, QByteArray& out)
{
    out.resize(length);
    qint64 got = 0;
    if (m_fd >= 0) {
        while (got < length) {
            const ssize_t n = ::pread(m_fd, out.data() + got, size_t(length - got), off_t(offset + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                m_error = QStringLiteral("%1: %2").arg(m_name, systemError(errno));
                out.clear();
                return false;
            }
            if (n == 0)
                break;
            got += n;
        }
    } else {
        if (!m_device->seek(offset)) {
            m_error = QStringLiteral("%1: %2").arg(m_name, m_device->errorString());
            out.clear();
            return false;
        }
        got = m_device->read(out.data(), length);
        if (got < 0) {
            m_error = QStringLiteral("%1: %2").arg(m_name, m_device->errorString());
            out.clear();
            return false;
        }
    }
    out.resize(got);
    return true;
}

} // namespace media
