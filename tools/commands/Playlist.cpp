// fvtool playlist [--sort COLUMN [--desc]] [--save OUT.M3U] [--timed] [--recheck] FILE_OR_M3U...: builds a playlist
// from audio files and .M3U playlists with the panel's own build job, prints one row per
// entry with the panel's columns (Title, Artist, Album, Year, Genre, Length, Track, Bitrate,
// Size, PathFile, Sec) separated by tabs, and writes the extended M3U when asked. --timed
// prints the build's own time on stderr ("build: N entries, T ms"), without the process's
// start. --recheck re-checks the built playlist as the window does after a refresh of the
// file list and prints its time on stderr ("recheck: N entries, T ms").
#include "Command.h"

#include "media/playlist/EntryCache.h"
#include "media/playlist/M3uFile.h"
#include "media/playlist/Playlist.h"
#include "media/playlist/PlaylistBuildJob.h"
#include "platform/LocalFiles.h"

#include <QElapsedTimer>

#include <optional>

using namespace media;

static std::optional<PlaylistColumn> columnNamed(const QString& name)
{
    for (int i = 0; i < kPlaylistColumnCount; ++i) {
        if (columnCaption(PlaylistColumn(i)).compare(name, Qt::CaseInsensitive) == 0)
            return PlaylistColumn(i);
    }
    return std::nullopt;
}

static QString row(const AudioInfo& entry)
{
    QStringList fields;
    for (int i = 0; i < kPlaylistColumnCount; ++i) {
        QString text = columnText(entry, PlaylistColumn(i));
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        fields << text;
    }
    return fields.join(QLatin1Char('\t'));
}

static void printTime(const char* what, qsizetype entries, const QElapsedTimer& timer)
{
    fvtool::err(QStringLiteral("%1: %2 entries, %3 ms").arg(QLatin1String(what)).arg(entries).arg(timer.nsecsElapsed() / 1e6, 0, 'f', 2));
}

static int runPlaylist(const QStringList& args)
{
    QString saveTo;
    std::optional<PlaylistColumn> sort;
    bool descending = false;
    bool recheck = false;
    bool timed = false;
    QStringList items;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--save") && i + 1 < args.size())
            saveTo = args.at(++i);
        else if (arg == QLatin1String("--sort") && i + 1 < args.size())
            sort = columnNamed(args.at(++i));
        else if (arg == QLatin1String("--desc"))
            descending = true;
        else if (arg == QLatin1String("--recheck"))
            recheck = true;
        else if (arg == QLatin1String("--timed"))
            timed = true;
        else
            items << LocalFiles::absolutePath(arg);
    }
    if (items.isEmpty() || (args.contains(QLatin1String("--sort")) && !sort)) {
        fvtool::err(QStringLiteral("usage: fvtool playlist [--sort COLUMN [--desc]] [--save OUT.M3U] [--timed] [--recheck] FILE_OR_M3U..."));
        return 2;
    }
    EntryCache cache;
    QElapsedTimer buildTimer;
    buildTimer.start();
    PlaylistBuildJob job(PlaylistBuildJob::Mode::FromList, {}, items, cache);
    job.run();
    if (timed)
        printTime("build", job.entries().size(), buildTimer);
    Playlist playlist;
    playlist.setEntries(job.entries());
    if (recheck) {
        QStringList paths;
        for (const AudioInfo& entry : job.entries())
            paths << entry.path;
        QElapsedTimer timer;
        timer.start();
        PlaylistBuildJob again(PlaylistBuildJob::Mode::Recheck, paths, {}, cache);
        again.run();
        printTime("recheck", again.entries().size(), timer);
    }
    if (sort) {
        playlist.sortBy(*sort);
        if (descending)
            playlist.sortBy(*sort);
    }
    for (const AudioInfo& entry : playlist.entries())
        fvtool::out(row(entry));
    if (playlist.isEmpty()) {
        fvtool::err(QStringLiteral("No files added to playlist"));
        return 1;
    }
    if (!saveTo.isEmpty()) {
        if (const Status saved = M3uFile::save(LocalFiles::absolutePath(saveTo), playlist.entries()); !saved) {
            fvtool::err(QStringLiteral("Error creating ") + saveTo + QStringLiteral(": ") + saved.errorString());
            return 1;
        }
    }
    return 0;
}

FVTOOL_COMMAND(playlist, "playlist [--sort COLUMN [--desc]] [--save OUT.M3U] [--timed] [--recheck] FILE_OR_M3U...: the playlist the panel builds", runPlaylist)
