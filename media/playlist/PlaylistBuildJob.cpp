#include "media/playlist/PlaylistBuildJob.h"

#include "media/playlist/EntryCache.h"
#include "media/playlist/M3uFile.h"
#include "platform/PathText.h"
#include "viewers/FileKinds.h"

#include <algorithm>

namespace media {

namespace {

bool isPlaylistFile(const QString& path)
{
    return FileKinds::HasExtension(path, QStringLiteral(".M3U"));
}

} // namespace

PlaylistBuildJob::PlaylistBuildJob(Mode mode, QStringList playlist, QStringList items, EntryCache& cache)
    : m_mode(mode)
    , m_playlist(std::move(playlist))
    , m_items(std::move(items))
    , m_cache(cache)
{
}

QStringList PlaylistBuildJob::orderedUnique(QStringList paths)
{
    std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

bool PlaylistBuildJob::plan()
{
    QStringList collected;
    if (m_mode != Mode::FromList)
        collected = m_playlist;
    if (m_mode != Mode::Recheck) {
        for (const QString& item : std::as_const(m_items)) {
            if (isCancelled())
                return false;
            setCurrentItem(QStringLiteral("Checking, ") + PathText::nameOf(item));
            if (FileKinds::IsAudioFile(item)) {
                collected << item;
            } else if (isPlaylistFile(item)) {
                for (const QString& line : M3uFile::read(item)) {
                    if (FileKinds::IsAudioFile(line))
                        collected << line;
                }
            }
        }
    }
    m_paths = orderedUnique(std::move(collected));
    return true;
}

void PlaylistBuildJob::execute()
{
    // The files read before and unchanged since are taken from the cache in one pass (all
    // of a re-check, as a rule); only the others are read, one by one with their caption.
    QList<int> toRead;
    QList<std::optional<AudioInfo>> found = m_cache.remembered(m_paths, toRead);
    addTotal(toRead.size());
    for (const int index : std::as_const(toRead)) {
        if (stopped())
            break;
        const QString& path = m_paths.at(index);
        setCurrentItem(QStringLiteral("Adding, ") + PathText::nameOf(path));
        found[index] = m_cache.entryFor(path);
        itemDone();
    }
    // A file that is gone or that its reader refuses is left out without a message (and on
    // Cancel, the files not read yet).
    m_entries.reserve(found.size());
    for (std::optional<AudioInfo>& entry : found) {
        if (entry)
            m_entries << std::move(*entry);
    }
}

} // namespace media
