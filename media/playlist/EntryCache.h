#pragma once
// The playlist's memory of the files it has read: an entry is read once and given again
// while its file keeps its size and modification time, so re-checking the playlist after
// every refresh of the file list costs one stat per entry. Files a reader refused are
// remembered too (and stay out until they change). Safe to use from several threads.

#include "media/AudioInfo.h"

#include <QHash>
#include <QMutex>
#include <QString>

#include <optional>

namespace media {

class EntryCache {
public:
    // The entry of the file at path, read now or remembered; nullopt when the file is gone,
    // is no regular file, or its reader refused it.
    std::optional<AudioInfo> entryFor(const QString& path);
    // How many files were read (not answered from memory) so far.
    int readCount() const;
    void clear();

private:
    struct Slot {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        std::optional<AudioInfo> entry;
    };
    mutable QMutex m_mutex;
    QHash<QString, Slot> m_slots;
    int m_reads = 0;
};

} // namespace media
