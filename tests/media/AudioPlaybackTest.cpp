// The playlist's player: what ends a song (only the back end's end of the media, never Stop),
// continuous play and shuffle at the end, a failure, on the fake device and on the real back
// end playing generated MP3 files through an audio sink that needs no sound card.
#include "support/FakeMediaPlayer.h"
#include "support/NullAudioSink.h"
#include "support/TempHome.h"

#include "media/playlist/AudioPlayback.h"

#ifdef FOLVANE_HAVE_MULTIMEDIA
#include "platform/media/QtMediaPlayer.h"
#endif

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace media;

namespace {

class AudioPlaybackTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        FakeMediaPlayer::install();
    }
    void TearDown() override
    {
        MediaPlayer::setFactory({});
        TempHomeTest::TearDown();
    }
    // A playlist of count existing files.
    void fill(int count)
    {
        QList<AudioInfo> entries;
        for (int i = 0; i < count; ++i) {
            AudioInfo info;
            info.path = makeFile(QStringLiteral("m/%1.mp3").arg(i), "x");
            info.title = QString::number(i);
            entries << info;
        }
        playlist.setEntries(entries);
    }
    QStringList opened(FakeMediaPlayer* player) const
    {
        QStringList names;
        for (const QString& request : player->requests()) {
            if (request.startsWith(QLatin1String("open ")))
                names << request.section(QLatin1Char('/'), -1);
        }
        return names;
    }
    Playlist playlist;
    bool continuous = true;
    bool shuffle = false;
};

} // namespace

TEST_F(AudioPlaybackTest, TheEndOfTheMediaAloneEndsASong)
{
    struct Case {
        const char* name;
        bool continuous, shuffle;
        int entries;
        bool userStops; // Stop instead of the end of the media
        QStringList opened;
        bool ended; // songEnded: stands at the end, nothing more plays
    } cases[] = {
        {"continuous goes on to the next", true, false, 3, false, {"0.mp3", "1.mp3"}, false},
        {"continuous off stays at the end", false, false, 3, false, {"0.mp3"}, true},
        {"Stop under continuous play stays stopped", true, false, 3, true, {"0.mp3"}, false},
        {"Stop under shuffle stays stopped", true, true, 3, true, {"0.mp3"}, false},
        {"one entry plays again", true, false, 1, false, {"0.mp3", "0.mp3"}, false},
        {"one entry with shuffle plays again", true, true, 1, false, {"0.mp3", "0.mp3"}, false},
    };
    for (const Case& c : cases) {
        fill(c.entries);
        continuous = c.continuous;
        shuffle = c.shuffle;
        AudioPlayback playback(playlist);
        playback.setContinuous([this] { return continuous; });
        playback.setShuffle([this] { return shuffle; });
        playback.player();
        FakeMediaPlayer* player = FakeMediaPlayer::last();
        QSignalSpy ended(&playback, &AudioPlayback::songEnded);
        playback.playPause();
        EXPECT_TRUE(playback.timerActive()) << c.name;
        if (c.userStops)
            playback.stop();
        else
            player->finishPlayback();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(opened(player), c.opened) << c.name;
        EXPECT_EQ(ended.count(), c.ended ? 1 : 0) << c.name;
        if (c.userStops) {
            EXPECT_TRUE(playback.fileName().isEmpty()) << c.name;
            EXPECT_FALSE(playback.timerActive()) << c.name;
        }
    }
}

TEST_F(AudioPlaybackTest, ShuffleDrawsTheNextSongAndPauseIsNoEnd)
{
    fill(5);
    AudioPlayback playback(playlist);
    playback.setContinuous([] { return true; });
    playback.setShuffle([] { return true; });
    QRandomGenerator random(7);
    QRandomGenerator same(7);
    playback.setRandom(&random);
    playback.player();
    FakeMediaPlayer* player = FakeMediaPlayer::last();
    playback.playPause();
    playback.playPause(); // pause
    playback.playPause(); // resume
    QCoreApplication::processEvents();
    EXPECT_EQ(opened(player).size(), 1) << "a pause is no end of the song";
    player->finishPlayback();
    QCoreApplication::processEvents();
    const int drawn = int(same.bounded(5));
    EXPECT_EQ(opened(player).value(1), QStringLiteral("%1.mp3").arg(drawn));
    EXPECT_EQ(playlist.current(), drawn);
}

TEST_F(AudioPlaybackTest, AFailureIsReportedAndNeverCountsAsAnEnd)
{
    fill(2);
    AudioPlayback playback(playlist);
    playback.setContinuous([] { return true; });
    playback.player();
    FakeMediaPlayer* player = FakeMediaPlayer::last();
    QSignalSpy failed(&playback, &AudioPlayback::playFailed);
    playback.playPause();
    player->failPlayback(QStringLiteral("decoder missing"));
    QCoreApplication::processEvents();
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(1).toString(), QStringLiteral("decoder missing"));
    EXPECT_EQ(opened(player), QStringList{QStringLiteral("0.mp3")});
    EXPECT_TRUE(playback.fileName().isEmpty());

    player->failOpen(QStringLiteral("cannot open"));
    playback.next();
    EXPECT_EQ(failed.count(), 2);
    EXPECT_EQ(playlist.current(), 1);
}

#ifdef FOLVANE_HAVE_MULTIMEDIA
TEST_F(AudioPlaybackTest, TheRealBackEndEndsSongsAndStopStaysStopped)
{
    ASSERT_TRUE(kNullAudioSink);
    QtMediaPlayer::install();
    QList<AudioInfo> entries;
    for (const char* name : {"one.mp3", "two#?.mp3"}) {
        AudioInfo info;
        info.path = home().root() + QLatin1Char('/') + QLatin1String(name);
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                                                "sine=frequency=440:duration=1", "-c:a", "libmp3lame", info.path});
        ASSERT_TRUE(ffmpeg.waitForFinished(60000));
        ASSERT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().constData();
        entries << info;
    }
    playlist.setEntries(entries);
    AudioPlayback playback(playlist);
    playback.setContinuous([] { return true; });
    playback.setVolume(0);
    QStringList started;
    QObject::connect(&playback, &AudioPlayback::songStarted, &playback, [&](const QString& path) { started << path; });
    QSignalSpy failed(&playback, &AudioPlayback::playFailed);
    playback.playPause();
    // The first song ends by itself; continuous play starts the second (a name with "#" and "?").
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() == 2 || !failed.isEmpty(); }, 15000))
        << "the song never reached its end";
    ASSERT_TRUE(failed.isEmpty()) << qPrintable(failed.at(0).at(1).toString());
    EXPECT_EQ(started, (QStringList{entries[0].path, entries[1].path}));
    playback.stop();
    QTest::qWait(2000);
    EXPECT_EQ(started.size(), 2) << "Stop under continuous play stays stopped";
    EXPECT_TRUE(playback.fileName().isEmpty());
}
#endif
