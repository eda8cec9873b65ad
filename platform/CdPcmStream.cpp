#include "platform/CdPcmStream.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>

CdPcmStream::CdPcmStream(qint64 capacity)
    : m_capacity(capacity)
{
    // Unbuffered: QIODevice's own read buffer would hold samples that buffered() does not
    // count, so playback would end (and the position run ahead) before they were heard.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

CdPcmStream::~CdPcmStream()
{
    abort();
}

bool CdPcmStream::push(const QByteArray& pcm)
{
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [&] { return m_aborted || m_size + pcm.size() <= std::max<qint64>(m_capacity, pcm.size()); });
    if (m_aborted)
        return false;
    if (!pcm.isEmpty())
        m_chunks.push_back(pcm);
    m_size += pcm.size();
    return true;
}

void CdPcmStream::clear()
{
    m_chunks.clear();
    m_readAt = 0;
    m_size = 0;
}

void CdPcmStream::abort()
{
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
        clear();
    }
    m_room.notify_all();
}

void CdPcmStream::restart()
{
    std::lock_guard lock(m_mutex);
    clear();
    m_aborted = false;
    m_played = 0;
}

qint64 CdPcmStream::buffered() const
{
    std::lock_guard lock(m_mutex);
    return m_size;
}

qint64 CdPcmStream::bytesAvailable() const
{
    return buffered() + QIODevice::bytesAvailable();
}

void CdPcmStream::setGains(double left, double right)
{
    m_gainLeft = int(std::clamp(left, 0.0, 1.0) * 65536);
    m_gainRight = int(std::clamp(right, 0.0, 1.0) * 65536);
}

qint64 CdPcmStream::readData(char* data, qint64 maxSize)
{
    qint64 size = 0;
    {
        std::lock_guard lock(m_mutex);
        // Whole stereo frames only, so that the channels never swap places.
        size = std::min<qint64>(maxSize, m_size) / 4 * 4;
        for (qint64 done = 0; done < size;) {
            const QByteArray& chunk = m_chunks.front();
            const qint64 part = std::min<qint64>(size - done, chunk.size() - m_readAt);
            std::memcpy(data + done, chunk.constData() + m_readAt, size_t(part));
            done += part;
            m_readAt += part;
            if (m_readAt == chunk.size()) {
                m_chunks.pop_front();
                m_readAt = 0;
            }
        }
        m_size -= size;
    }
    m_room.notify_all();
    applyGains(data, size);
    m_played += size;
    return size;
}

void CdPcmStream::applyGains(char* data, qint64 size) const
{
    const int gains[2] = {m_gainLeft.load(), m_gainRight.load()};
    if (gains[0] == 65536 && gains[1] == 65536)
        return;
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    for (qint64 i = 0; i + 1 < size; i += 2) {
        const int sample = std::int16_t(byteorder::readLE16(bytes + i));
        byteorder::writeLE16(bytes + i, std::uint16_t(std::int16_t(std::int64_t(sample) * gains[(i / 2) % 2] / 65536)));
    }
}
