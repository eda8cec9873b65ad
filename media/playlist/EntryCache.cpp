#include "media/playlist/EntryCache.h"

#include "media/AudioInfoReader.h"
#include "platform/FileName.h"

#include <sys/stat.h>

namespace media {

std::optional<AudioInfo> EntryCache::entryFor(const QString& path)
{
    struct stat st {};
    if (::stat(FileName::encode(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const qint64 modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    {
        QMutexLocker lock(&m_mutex);
        const auto found = m_slots.constFind(path);
        if (found != m_slots.cend() && found->size == st.st_size && found->modifiedNs == modifiedNs)
            return found->entry;
    }
    // Read outside the lock: other threads go on with their own files meanwhile.
    AudioInfoReader reader;
    Slot slot{st.st_size, modifiedNs, std::nullopt};
    if (reader.read(path))
        slot.entry = reader.info();
    QMutexLocker lock(&m_mutex);
    ++m_reads;
    m_slots.insert(path, slot);
    return slot.entry;
}

int EntryCache::readCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_reads;
}

void EntryCache::clear()
{
    QMutexLocker lock(&m_mutex);
    m_slots.clear();
}

} // namespace media
