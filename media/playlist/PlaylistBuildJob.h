#pragma once
// BuildPlaylist as a job off the UI thread. The window hands in the paths (the playlist's,
// and the file list's items or selection) and polls the caption the job publishes
// ("Checking, <name>", "Adding, <name>"); the job collects the audio files (from .M3U files
// too), drops byte-equal duplicates, orders them ignoring case and reads each through the
// entry cache. `fvtool playlist` runs the same job.

#include "media/AudioInfo.h"
#include "platform/Job.h"

#include <QList>
#include <QStringList>

namespace media {

class EntryCache;

class PlaylistBuildJob final : public Job {
public:
    enum class Mode {
        FromList = 0,   // every audio item (and .M3U) of the file list
        Recheck = 1,    // the playlist's entries that still exist
        AddSelection = 2, // the playlist plus the selected items of the file list
    };

    // playlist: the playlist's paths; items: the file list's items (mode 0) or its
    // selection (mode 2).
    PlaylistBuildJob(Mode mode, QStringList playlist, QStringList items, EntryCache& cache);

    // The entries, in collected order, once the job has finished.
    const QList<AudioInfo>& entries() const { return m_entries; }
    // The collected paths, after plan().
    const QStringList& paths() const { return m_paths; }

    // Orders paths ignoring case and drops byte-equal duplicates (paths that differ only in
    // letter case are two files).
    static QStringList orderedUnique(QStringList paths);

protected:
    bool plan() override;
    void execute() override;

private:
    Mode m_mode;
    QStringList m_playlist;
    QStringList m_items;
    EntryCache& m_cache;
    QStringList m_paths;
    QList<AudioInfo> m_entries;
};

} // namespace media
