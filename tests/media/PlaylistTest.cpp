// The playlist engine: M3U reading (against the playlist's own folder, hostile lines) and
// writing, the build job (byte-equal dedupe, order ignoring case, the entry cache), the
// sort, the next/previous/shuffle choices, the end-of-song and end-of-movie rules and the
// time texts, and `fvtool playlist` with FFmpeg reading the M3U it writes.
#include "AudioBytes.h"

#include "support/TempHome.h"

#include "media/playlist/PlaylistColumns.h"

#include "media/playlist/EntryCache.h"
#include "media/playlist/M3uFile.h"
#include "media/playlist/PlaybackRules.h"
#include "media/playlist/Playlist.h"
#include "media/playlist/PlaylistBuildJob.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <utime.h>

using namespace media;

namespace {

class PlaylistTest : public TempHomeTest {};

AudioInfo entry(const QString& title, const QString& length = QString(), const QString& path = QString())
{
    AudioInfo info;
    info.title = title;
    info.length = length;
    info.path = path.isEmpty() ? QStringLiteral("/m/") + title + QStringLiteral(".mp3") : path;
    return info;
}

QStringList titles(const Playlist& playlist)
{
    QStringList out;
    for (const AudioInfo& e : playlist.entries())
        out << e.title;
    return out;
}

QByteArray mp3File()
{
    return audiobytes::cbrFrames(40);
}

} // namespace

TEST(M3uParse, LinesAreResolvedAgainstThePlaylistsFolderAndBadLinesAreLeftOut)
{
    const QByteArray tooLong = QByteArray(M3uFile::kMaxLine + 1, 'a') + ".mp3";
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList paths;
    } cases[] = {
        {"extended lines are comments", "#EXTM3U\r\n#EXTINF:12,A - B\r\nsong.mp3\r\n", {"/lists/song.mp3"}},
        {"backslashes of other systems", "sub\\dir\\x.mp3\n..\\up.mp3\n", {"/lists/sub/dir/x.mp3", "/up.mp3"}},
        {"absolute paths stay", "/music/a.mp3\n", {"/music/a.mp3"}},
        {"file URLs", "file:///music/a%20b.mp3\n", {"/music/a b.mp3"}},
        {"blank lines and spaces", "\n   \n  a.mp3  \n", {"/lists/a.mp3"}},
        {"a line over 4 KiB is skipped whole", tooLong + "\nb.mp3\n", {"/lists/b.mp3"}},
        {"UTF-8 when valid", "caf\xC3\xA9.mp3\n", {QStringLiteral("/lists/caf\u00E9.mp3")}},
        {"else Latin-1", "caf\xE9.mp3\n", {QStringLiteral("/lists/caf\u00E9.mp3")}},
        {"a byte-order mark is no part of the name", "\xEF\xBB\xBF" "a.mp3", {"/lists/a.mp3"}},
        {"no line end at the end", "a.mp3", {"/lists/a.mp3"}},
        {"empty", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(M3uFile::parse(c.bytes, QStringLiteral("/lists")), c.paths) << c.name;
}

TEST_F(PlaylistTest, ReadingTakesNamesAgainstThePlaylistFileNotTheWorkingFolder)
{
    const QString list = makeFile(QStringLiteral("lists/mix.m3u"), "#EXTM3U\r\nsongs\\one.mp3\r\n");
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::rootPath());
    EXPECT_EQ(M3uFile::read(list), QStringList{home().root() + QStringLiteral("/lists/songs/one.mp3")});
    QDir::setCurrent(before);
    QString error;
    EXPECT_TRUE(M3uFile::read(home().root() + QStringLiteral("/none.m3u"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(PlaylistTest, SavingWritesTheExtendedFormThroughATemporaryFile)
{
    AudioInfo song = entry(QStringLiteral("Song"), QStringLiteral("3:05"), QStringLiteral("/m/song.mp3"));
    song.artist = QStringLiteral("Band");
    song.seconds = QStringLiteral("185");
    // A file of an unknown kind has no seconds: the field stays empty.
    const AudioInfo other = entry(QStringLiteral("tune"), QString(), QStringLiteral("/m/tune.mid"));
    const QByteArray expected = "#EXTM3U\r\n#EXTINF:185,Band - Song\r\n/m/song.mp3\r\n#EXTINF:, - tune\r\n/m/tune.mid\r\n";
    EXPECT_EQ(M3uFile::compose({song, other}), expected);

    const QString target = makeFile(QStringLiteral("out/list.m3u"), "old contents");
    ASSERT_TRUE(M3uFile::save(target, {song, other}));
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), expected);
    EXPECT_EQ(QDir(home().root() + QStringLiteral("/out")).entryList(QDir::Files), QStringList{QStringLiteral("list.m3u")});
    // A folder that is a regular file fails, and says so.
    makeFile(QStringLiteral("blocker"), "x");
    const Status failed = M3uFile::save(home().root() + QStringLiteral("/blocker/list.m3u"), {song});
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.errorString().isEmpty());
}

TEST(PlaylistOrder, CaseDistinctPathsAreTwoEntriesAndByteDuplicatesOne)
{
    const QStringList in = {"/m/b.mp3", "/m/A.mp3", "/m/a.mp3", "/m/b.mp3", "/m/C.mp3"};
    EXPECT_EQ(PlaylistBuildJob::orderedUnique(in), (QStringList{"/m/A.mp3", "/m/a.mp3", "/m/b.mp3", "/m/C.mp3"}));
}

TEST(PlaylistSort, ColumnsCompareAsTextIgnoringCaseAndASecondClickReverses)
{
    Playlist playlist;
    playlist.setEntries({entry("beta", "9:59"), entry("Alpha", "10:05"), entry("gamma", "0:30")});
    playlist.setCurrent(0); // beta
    playlist.sortBy(PlaylistColumn::Length);
    // Text order: "0:30" < "10:05" < "9:59".
    EXPECT_EQ(titles(playlist), (QStringList{"gamma", "Alpha", "beta"}));
    EXPECT_FALSE(playlist.descending());
    EXPECT_EQ(playlist.at(playlist.current()).title, QStringLiteral("beta")) << "the selected entry stays selected";
    playlist.sortBy(PlaylistColumn::Length);
    EXPECT_EQ(titles(playlist), (QStringList{"beta", "Alpha", "gamma"}));
    EXPECT_TRUE(playlist.descending());
    // Another column keeps the direction.
    playlist.sortBy(PlaylistColumn::Title);
    EXPECT_EQ(titles(playlist), (QStringList{"gamma", "beta", "Alpha"}));
    EXPECT_TRUE(playlist.descending());
}

TEST(PlaylistSteps, NextAndPreviousWrapAndShuffleReachesEveryEntry)
{
    Playlist playlist;
    EXPECT_EQ(playlist.nextIndex(), -1);
    EXPECT_EQ(playlist.previousIndex(), -1);
    playlist.setEntries({entry("a"), entry("b"), entry("c"), entry("d")});
    struct Case {
        int current, next, previous;
    } cases[] = {{-1, 0, 3}, {0, 1, 3}, {2, 3, 1}, {3, 0, 2}};
    for (const Case& c : cases) {
        playlist.setCurrent(c.current);
        EXPECT_EQ(playlist.nextIndex(), c.next) << c.current;
        EXPECT_EQ(playlist.previousIndex(), c.previous) << c.current;
    }
    QRandomGenerator random(20);
    QList<int> seen(4, 0);
    for (int i = 0; i < 400; ++i)
        ++seen[playlist.randomIndex(random)];
    for (int count : seen)
        EXPECT_GT(count, 60) << "each entry equally likely, the current one included";
    Playlist one;
    one.setEntries({entry("only")});
    one.setCurrent(0);
    EXPECT_EQ(one.nextIndex(), 0) << "one entry: the same song again";
    EXPECT_EQ(one.randomIndex(random), 0);
}

TEST(PlaylistSteps, AfterABuildThePlayersFileStaysSelectedElseTheFirst)
{
    Playlist playlist;
    playlist.setEntries({entry("a"), entry("b")});
    EXPECT_EQ(playlist.selectAfterBuild(QStringLiteral("/m/b.mp3")), 1);
    EXPECT_EQ(playlist.selectAfterBuild(QStringLiteral("/m/B.mp3")), 0) << "another case is another file";
    EXPECT_EQ(playlist.selectAfterBuild(QString()), 0);
    playlist.clear();
    EXPECT_EQ(playlist.selectAfterBuild(QString()), -1);
}

TEST(PlaybackRules, OnlyContinuousPlayGoesOnAndShuffleDrawsAtRandom)
{
    struct Case {
        bool continuous, shuffle;
        SongEndAction action;
    } cases[] = {
        {false, false, SongEndAction::Stop},
        {false, true, SongEndAction::Stop},
        {true, false, SongEndAction::PlayNext},
        {true, true, SongEndAction::PlayRandom},
    };
    for (const Case& c : cases)
        EXPECT_EQ(songEndAction(c.continuous, c.shuffle), c.action) << c.continuous << c.shuffle;
    EXPECT_EQ(movieEndAction(true, true), MovieEndAction::Repeat);
    EXPECT_EQ(movieEndAction(false, true), MovieEndAction::ShowNextFile);
    EXPECT_EQ(movieEndAction(false, false), MovieEndAction::Close);
}

TEST(PlaybackRules, AMoviesEndIsHandedOutOncePerLoadAndNeverForAFailedOne)
{
    MovieEndGuard guard;
    EXPECT_FALSE(guard.takeEnd()) << "nothing loaded";
    guard.loaded();
    EXPECT_TRUE(guard.takeEnd());
    EXPECT_FALSE(guard.takeEnd()) << "the timer and the notice see one end";
    guard.loaded(); // Repeat loads it again
    EXPECT_TRUE(guard.takeEnd());
    guard.loaded();
    guard.reset(); // the movie failed
    EXPECT_FALSE(guard.takeEnd());
}

TEST(PlaybackRules, TimeTexts)
{
    struct Case {
        qint64 ms;
        const char* audio;
    } cases[] = {
        {0, "00:00"}, {61000, "01:01"}, {3599999, "59:59"}, {3600000, "01:00:00"}, {86399000, "23:59:59"},
        {86400000 + 3723004, "1 days, 01:02:03.004"}, {-5, "00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(audioTimeText(c.ms), QLatin1String(c.audio)) << c.ms;
    EXPECT_EQ(movieBarLabel(185000, 61999), QStringLiteral("3:05  -  1:01"));
    EXPECT_EQ(movieBarLabel(3725000, 0), QStringLiteral("62:05  -  0:00"));
    EXPECT_EQ(volumeLabel(1000), QStringLiteral("100%"));
    EXPECT_EQ(volumeLabel(455), QStringLiteral("45%"));
}

TEST_F(PlaylistTest, TheCacheReadsAFileOnceUntilItChanges)
{
    const QString song = makeFile(QStringLiteral("m/song.mp3"), mp3File());
    EntryCache cache;
    ASSERT_TRUE(cache.entryFor(song).has_value());
    ASSERT_TRUE(cache.entryFor(song).has_value());
    EXPECT_EQ(cache.readCount(), 1);
    // Another modification time: read again.
    struct utimbuf times {1000000, 1000000};
    ASSERT_EQ(::utime(QFile::encodeName(song).constData(), &times), 0);
    cache.entryFor(song);
    EXPECT_EQ(cache.readCount(), 2);
    // A refused file is remembered as refused.
    const QString bad = makeFile(QStringLiteral("m/bad.mp3"), "not audio at all");
    EXPECT_FALSE(cache.entryFor(bad).has_value());
    EXPECT_FALSE(cache.entryFor(bad).has_value());
    EXPECT_EQ(cache.readCount(), 3);
    QFile::remove(song);
    EXPECT_FALSE(cache.entryFor(song).has_value()) << "a file that is gone";
}

TEST_F(PlaylistTest, AReCheckStatsEachEntryInItsFolderAsTheFoldersChange)
{
    enum Outcome { Kept, Gone, ReadAgain, New };
    struct Case {
        const char* name;
        const char* file;
        Outcome outcome;
    } cases[] = {
        {"unchanged", "A/one.mp3", Kept},
        {"its time changed", "B/two.mp3", ReadAgain},
        {"back in a folder seen before", "A/three.mp3", Kept},
        {"its folder removed", "C/four.mp3", Gone},
        {"its folder now a link to another file of that name", "D/five.mp3", ReadAgain},
        {"its folder now a file", "E/six.mp3", Gone},
        {"never read", "A/new.mp3", New},
    };
    EntryCache cache;
    QStringList paths;
    for (const Case& c : cases) {
        paths << makeFile(QStringLiteral("m/") + QLatin1String(c.file), mp3File());
        if (c.outcome != New) {
            ASSERT_TRUE(cache.entryFor(paths.last()).has_value()) << c.name;
        }
    }
    const QString root = home().root() + QStringLiteral("/m/");
    struct utimbuf times {1000000, 1000000};
    ASSERT_EQ(::utime(QFile::encodeName(root + QStringLiteral("B/two.mp3")).constData(), &times), 0);
    ASSERT_TRUE(QDir(root + QStringLiteral("C")).removeRecursively());
    makeFile(QStringLiteral("other/five.mp3"), mp3File().repeated(2));
    ASSERT_TRUE(QDir(root + QStringLiteral("D")).removeRecursively());
    ASSERT_TRUE(QFile::link(home().root() + QStringLiteral("/other"), root + QStringLiteral("D")));
    ASSERT_TRUE(QDir(root + QStringLiteral("E")).removeRecursively());
    makeFile(QStringLiteral("m/E"), "a file now");

    QList<int> toRead;
    const QList<std::optional<AudioInfo>> entries = cache.remembered(paths, toRead);
    ASSERT_EQ(entries.size(), paths.size());
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(entries[i].has_value(), c.outcome == Kept) << c.name;
        EXPECT_EQ(toRead.contains(i), c.outcome == ReadAgain || c.outcome == New) << c.name;
    }
    EXPECT_EQ(cache.readCount(), int(std::size(cases)) - 1) << "nothing read by the re-check itself";
}

TEST_F(PlaylistTest, BuildModesCollectFromItemsPlaylistsAndTheCurrentEntries)
{
    const QString a = makeFile(QStringLiteral("m/A.mp3"), mp3File());
    const QString lower = makeFile(QStringLiteral("m/a.mp3"), mp3File());
    const QString midi = makeFile(QStringLiteral("m/tune.MID"), "MThd");
    const QString bad = makeFile(QStringLiteral("m/bad.mp3"), "not audio");
    const QString text = makeFile(QStringLiteral("m/notes.txt"), "x");
    const QString inList = makeFile(QStringLiteral("other/deep.mp3"), mp3File());
    const QString list = makeFile(QStringLiteral("m/mix.m3u"), "#EXTM3U\r\n#EXTINF:1,x - y\r\n../other/deep.mp3\r\nnotes.txt\r\nmissing.mp3\r\n");
    EntryCache cache;
    const auto paths = [](const QList<AudioInfo>& entries) {
        QStringList out;
        for (const AudioInfo& e : entries)
            out << e.path;
        return out;
    };
    PlaylistBuildJob fromList(PlaylistBuildJob::Mode::FromList, {}, {text, midi, lower, a, bad, list, a}, cache);
    fromList.run();
    EXPECT_EQ(paths(fromList.entries()), (QStringList{a, lower, midi, inList}));

    QFile::remove(lower);
    PlaylistBuildJob recheck(PlaylistBuildJob::Mode::Recheck, paths(fromList.entries()), {text}, cache);
    recheck.run();
    EXPECT_EQ(paths(recheck.entries()), (QStringList{a, midi, inList}));
    EXPECT_EQ(cache.readCount(), 5) << "a re-check reads no file again";

    const QString added = makeFile(QStringLiteral("m/zed.wav"), audiobytes::Wave{}.build());
    PlaylistBuildJob addSelection(PlaylistBuildJob::Mode::AddSelection, paths(recheck.entries()), {added}, cache);
    addSelection.run();
    EXPECT_EQ(paths(addSelection.entries()), (QStringList{a, midi, added, inList}));
}

TEST_F(PlaylistTest, OpenFormatsAreReadWithTheirTags)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        FAIL() << "ffmpeg is part of the test tools (scripts/packages/media.txt)";
    struct Case {
        const char* name;
        const char* codec;
    } cases[] = {{"song.ogg", "libvorbis"}, {"song.flac", "flac"}, {"song.opus", "libopus"}, {"song.m4a", "aac"}};
    for (const Case& c : cases) {
        const QString out = home().root() + QLatin1Char('/') + QLatin1String(c.name);
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                                                "sine=frequency=440:duration=2", "-c:a", QLatin1String(c.codec), "-metadata", "title=Tone",
                                                "-metadata", "artist=Maker", "-metadata", "track=7", out});
        ASSERT_TRUE(ffmpeg.waitForFinished(60000));
        ASSERT_EQ(ffmpeg.exitCode(), 0) << c.name << ffmpeg.readAllStandardError().constData();
        EntryCache cache;
        const std::optional<AudioInfo> info = cache.entryFor(out);
        ASSERT_TRUE(info.has_value()) << c.name;
        EXPECT_EQ(info->title, QStringLiteral("Tone")) << c.name;
        EXPECT_EQ(info->artist, QStringLiteral("Maker")) << c.name;
        EXPECT_EQ(info->track, QStringLiteral("07")) << c.name;
        EXPECT_EQ(info->length, QStringLiteral("0:02")) << c.name;
        EXPECT_EQ(info->seconds, QStringLiteral("2")) << c.name;
    }
    // A file of the kind that holds no such stream is left out.
    EXPECT_FALSE(EntryCache().entryFor(makeFile(QStringLiteral("fake.flac"), "fLaC but no more")).has_value());
}

TEST_F(PlaylistTest, FvtoolBuildsSortsAndSavesAPlaylistThatFfmpegPlays)
{
    QStringList songs;
    for (const char* name : {"b/Two.mp3", "b/two.mp3", "a/one #1.mp3"}) {
        const QString relative = QString::fromUtf8(name);
        const QString path = makeFolder(relative.section(QLatin1Char('/'), 0, 0)) + QLatin1Char('/') + relative.section(QLatin1Char('/'), 1);
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                                                "sine=duration=1", "-c:a", "libmp3lame", "-metadata", "title=T", path});
        ASSERT_TRUE(ffmpeg.waitForFinished(60000));
        ASSERT_EQ(ffmpeg.exitCode(), 0);
        songs << path;
    }
    const QString list = makeFile(QStringLiteral("b/in.m3u"), "#EXTM3U\r\n..\\a\\one #1.mp3\r\n");
    const QString out = home().root() + QStringLiteral("/saved.m3u");
    QProcess tool;
    tool.start(qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/fvtool"),
               {QStringLiteral("playlist"), QStringLiteral("--sort"), QStringLiteral("PathFile"), QStringLiteral("--desc"),
                QStringLiteral("--save"), out, songs[0], songs[1], list, songs[0]});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    const QStringList rows = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3) << "case-distinct names are two entries, the repeated one is one";
    // Descending by path ignoring case: the two case-distinct names compare equal and keep
    // their built order.
    EXPECT_EQ(rows[0].split(QLatin1Char('\t')).value(int(PlaylistColumn::PathFile)), songs[0]);
    EXPECT_EQ(rows[1].split(QLatin1Char('\t')).value(int(PlaylistColumn::PathFile)), songs[1]);
    EXPECT_EQ(rows[2].split(QLatin1Char('\t')).value(int(PlaylistColumn::PathFile)), songs[2]);
    EXPECT_EQ(rows[2].split(QLatin1Char('\t')).value(int(PlaylistColumn::Sec)), QStringLiteral("1"));

    // FFmpeg's playlist reader (the HLS demuxer, which takes extended M3U) plays every entry
    // of the saved file, in order.
    QProcess player;
    player.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-nostdin", "-v", "verbose", "-f", "hls", "-allowed_extensions", "ALL",
                                            "-protocol_whitelist", "file", "-i", out, "-f", "null", "-"});
    ASSERT_TRUE(player.waitForFinished(60000));
    EXPECT_EQ(player.exitCode(), 0);
    const QString log = QString::fromUtf8(player.readAllStandardError());
    qsizetype at = 0;
    for (const QString& song : songs) {
        at = log.indexOf(QStringLiteral("Opening '") + song + QLatin1Char('\''), at);
        EXPECT_GE(at, 0) << qPrintable(song) << qPrintable(log);
    }
}
