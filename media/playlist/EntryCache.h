#pragma once
// The playlist's memory of the files it has read: an entry is read once and given again
// while its file keeps its size and modification time, so re-checking the playlist after
// every refresh of the file list costs one statx per entry, made relative to a handle on
// the entry's folder (opened once for the folder's run of entries) so that the system does
// not walk the whole path again for each file. Files a reader refused are remembered too
// (and stay out until they change). Safe to use from several threads.

#include "media/AudioInfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>

namespace media {

class EntryCache {
public:
    // The entry of the file at path, read now or remembered; nullopt when the file is gone,
    // is no regular file, or its reader refused it.
    std::optional<AudioInfo> entryFor(const QString& path);

    // The remembered entries of paths, checked under one lock with the name bytes kept
    // since each was read (a re-check of a whole playlist; paths in folder order cost one
    // folder handle per folder): unchanged files give their
    // entry (nullopt for a refused one), gone files nullopt. The indexes of the paths that
    // must be read through entryFor (new to the cache, or changed) go to toRead.
    QList<std::optional<AudioInfo>> remembered(const QStringList& paths, QList<int>& toRead) const;

    // How many files were read (not answered from memory) so far.
    int readCount() const;
    void clear();

private:
    struct Stamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Slot {
        // The path as bytes, encoded once when the file was read: its folder, and its
        // name in that folder.
        QByteArray folder;
        QByteArray leaf;
        Stamp stamp;
        std::optional<AudioInfo> entry;
    };
    // Size and modification time of the regular file name in the folder at folderFd (or
    // of the path name with AT_FDCWD), symbolic links followed; nullopt for anything else
    // or a file that is gone.
    static std::optional<Stamp> stampOf(int folderFd, const char* name);

    mutable QMutex m_mutex;
    QHash<QString, Slot> m_slots;
    int m_reads = 0;
};

} // namespace media
