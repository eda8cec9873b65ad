#include "media/playlist/EntryCache.h"

#include "media/AudioInfoReader.h"
#include "platform/FileName.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace media {

std::optional<EntryCache::Stamp> EntryCache::stampOf(const QByteArray& name)
{
    // Only the type, size and modification time are asked for, and a network file system
    // is not made to sync for them: the answer decides only whether to read the file again.
    struct statx st {};
    if (::statx(AT_FDCWD, name.constData(), AT_STATX_DONT_SYNC, STATX_TYPE | STATX_SIZE | STATX_MTIME, &st) != 0 || !S_ISREG(st.stx_mode))
        return std::nullopt;
    return Stamp{qint64(st.stx_size), qint64(st.stx_mtime.tv_sec) * 1000000000 + st.stx_mtime.tv_nsec};
}

std::optional<AudioInfo> EntryCache::entryFor(const QString& path)
{
    const QByteArray name = FileName::encode(path);
    const std::optional<Stamp> stamp = stampOf(name);
    if (!stamp)
        return std::nullopt;
    {
        QMutexLocker lock(&m_mutex);
        const auto found = m_slots.constFind(path);
        if (found != m_slots.cend() && found->stamp == *stamp)
            return found->entry;
    }
    // Read outside the lock: other threads go on with their own files meanwhile.
    AudioInfoReader reader;
    Slot slot{name, *stamp, std::nullopt};
    if (reader.read(path))
        slot.entry = reader.info();
    QMutexLocker lock(&m_mutex);
    ++m_reads;
    m_slots.insert(path, slot);
    return slot.entry;
}

QList<std::optional<AudioInfo>> EntryCache::remembered(const QStringList& paths, QList<int>& toRead) const
{
    QList<std::optional<AudioInfo>> entries(paths.size());
    QMutexLocker lock(&m_mutex);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const auto found = m_slots.constFind(paths.at(i));
        if (found == m_slots.cend()) {
            toRead << int(i);
            continue;
        }
        const std::optional<Stamp> stamp = stampOf(found->name);
        if (!stamp)
            continue;
        if (*stamp == found->stamp)
            entries[i] = found->entry;
        else
            toRead << int(i);
    }
    return entries;
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
