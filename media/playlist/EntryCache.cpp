#include "media/playlist/EntryCache.h"

#include "media/AudioInfoReader.h"
#include "platform/FileDescriptor.h"
#include "platform/FileName.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace media {

namespace {

// A handle on the folder the last entry was in, opened again only when the folder changes:
// entries come in folder order, so a re-check opens each folder about once. O_PATH asks for
// no right to read the folder and reads nothing from it.
class FolderHandle {
public:
    // The handle's descriptor; -1 when the folder cannot be opened (its files are gone).
    int at(const QByteArray& folder)
    {
        if (folder != m_folder || !m_opened) {
            m_folder = folder;
            m_opened = true;
            m_fd = FileDescriptor::open(folder, O_PATH | O_DIRECTORY);
        }
        return m_fd.get();
    }

private:
    QByteArray m_folder;
    bool m_opened = false;
    FileDescriptor m_fd;
};

} // namespace

std::optional<EntryCache::Stamp> EntryCache::stampOf(int folderFd, const char* name)
{
    // Only the type, size and modification time are asked for, and a network file system
    // is not made to sync for them: the answer decides only whether to read the file again.
    struct statx st {};
    if (::statx(folderFd, name, AT_STATX_DONT_SYNC, STATX_TYPE | STATX_SIZE | STATX_MTIME, &st) != 0 || !S_ISREG(st.stx_mode))
        return std::nullopt;
    return Stamp{qint64(st.stx_size), qint64(st.stx_mtime.tv_sec) * 1000000000 + st.stx_mtime.tv_nsec};
}

std::optional<AudioInfo> EntryCache::entryFor(const QString& path)
{
    const QByteArray name = FileName::encode(path);
    const std::optional<Stamp> stamp = stampOf(AT_FDCWD, name.constData());
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
    const qsizetype slash = name.lastIndexOf('/');
    Slot slot{slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash), name.mid(slash + 1), *stamp, std::nullopt};
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
    FolderHandle folder;
    QMutexLocker lock(&m_mutex);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const auto found = m_slots.constFind(paths.at(i));
        if (found == m_slots.cend()) {
            toRead << int(i);
            continue;
        }
        const int folderFd = folder.at(found->folder);
        const std::optional<Stamp> stamp = folderFd < 0 ? std::nullopt : stampOf(folderFd, found->leaf.constData());
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
