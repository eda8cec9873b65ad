// The CD player's logic over a fake drive: the drive list texts, track stepping with wrap,
// the time display, the tray, the channels, and following a disc coming and going; and Play
// after the end of a disc image played through libcdio.
#include "media/CdPlayer.h"
#include "media/CdPlayerThread.h"

#include "support/CdImageFixture.h"
#include "support/FakeCdAudio.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>

namespace {

// A device that forwards to the test's fake, so that the player may own it.
std::unique_ptr<CdAudioDevice> deviceOf(FakeCdAudio& fake)
{
    fake.install();
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    CdAudioDevice::setFactory({});
    return device;
}

struct PlayerFixture {
    FakeCdAudio fake;
    QList<CdDrive> drives{{QStringLiteral("/dev/sr0"), false}, {QStringLiteral("/dev/sr1"), true}};
    CdPlayer player{deviceOf(fake), [this] { return drives; }};
};

TEST(CdPlayerTest, StepsWrapAroundTheDisc)
{
    const struct {
        int current, count, step, expected;
    } cases[] = {
        {1, 5, 1, 2}, {5, 5, 1, 1}, {1, 5, -1, 5}, {3, 5, -1, 2}, {1, 1, 1, 1}, {1, 1, -1, 1}, {0, 0, 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CdPlayer::steppedTrack(c.current, c.count, c.step), c.expected) << c.current << " " << c.count << " " << c.step;
}

TEST(CdPlayerTest, DrivesAreListedAndTheLastWithADiscOpened)
{
    PlayerFixture f;
    f.fake.insertDisc({75 * 225, 75 * 61, 75 * 30});
    f.player.start();
    const CdPlayerState& s = f.player.state();
    EXPECT_EQ(s.drives, (QStringList{QStringLiteral("/dev/sr0: no disk"), QStringLiteral("/dev/sr1")}));
    EXPECT_EQ(s.driveIndex, 1);
    EXPECT_TRUE(s.opened);
    EXPECT_EQ(s.tracks, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(s.trackIndex, 0);
    EXPECT_EQ(f.fake.requests().first(), QStringLiteral("open /dev/sr1"));

    f.fake.setPosition(2, 75 * 62 + 10);
    f.player.tick();
    EXPECT_EQ(s.tracksLabel, QStringLiteral("Track:2 of 3"));
    EXPECT_EQ(s.timeText, QStringLiteral("01:01 01:02"));
    EXPECT_EQ(s.minimisedCaption, QStringLiteral("2 01:02"));
    EXPECT_EQ(s.trackIndex, 1);
}

TEST(CdPlayerTest, NextAndPreviousWrapOnTheDevice)
{
    PlayerFixture f;
    f.fake.insertDisc({75 * 10, 75 * 10, 75 * 10});
    f.player.start();
    f.fake.setPosition(3, 0);
    const qsizetype before = f.fake.requests().size();
    f.player.next();
    EXPECT_EQ(f.fake.requests().mid(before), (QStringList{QStringLiteral("stop"), QStringLiteral("seek 1"), QStringLiteral("play 1")}));
    f.player.previous();
    EXPECT_EQ(f.fake.requests().mid(before + 3), (QStringList{QStringLiteral("stop"), QStringLiteral("seek 3"), QStringLiteral("play 3")}));
    EXPECT_EQ(f.player.state().trackIndex, 2);
    f.player.pickTrack(QStringLiteral("2"));
    EXPECT_EQ(f.fake.requests().last(), QStringLiteral("play 2"));
    const qsizetype picked = f.fake.requests().size();
    f.player.pickTrack(QStringLiteral("INFO"));
    EXPECT_EQ(f.fake.requests().size(), picked);
    f.player.stop();
    EXPECT_EQ(f.fake.requests().mid(picked), (QStringList{QStringLiteral("stop"), QStringLiteral("seek 1")}));
}

TEST(CdPlayerTest, WithoutADiscNothingIsAvailableAndTheDeviceIsTriedAgain)
{
    PlayerFixture f;
    f.drives = {{QStringLiteral("/dev/sr0"), false}};
    f.player.start();
    EXPECT_FALSE(f.player.state().opened);
    EXPECT_EQ(f.player.state().tracksLabel, QStringLiteral("not available"));
    EXPECT_TRUE(f.player.state().timeText.isEmpty());
    const qsizetype opens = f.fake.requests().count(QStringLiteral("open /dev/sr0"));
    f.player.tick();
    EXPECT_EQ(f.fake.requests().count(QStringLiteral("open /dev/sr0")), opens + 1);
    f.player.next(); // nothing to step through
    EXPECT_FALSE(f.fake.requests().contains(QStringLiteral("play 1")));
}

TEST(CdPlayerTest, FollowsADiscInsertedAndRemoved)
{
    PlayerFixture f;
    f.drives = {{QStringLiteral("/dev/sr0"), false}};
    f.player.start();
    EXPECT_FALSE(f.player.followDiscs());
    f.fake.insertDisc({75 * 100, 75 * 100});
    f.drives = {{QStringLiteral("/dev/sr0"), true}};
    EXPECT_TRUE(f.player.followDiscs());
    EXPECT_EQ(f.player.state().drives, QStringList{QStringLiteral("/dev/sr0")});
    EXPECT_TRUE(f.player.state().opened);
    EXPECT_EQ(f.player.state().tracks.size(), 2);
    f.fake.ejectDisc();
    f.drives = {{QStringLiteral("/dev/sr0"), false}};
    EXPECT_TRUE(f.player.followDiscs());
    EXPECT_EQ(f.player.state().drives, QStringList{QStringLiteral("/dev/sr0: no disk")});
    EXPECT_FALSE(f.player.state().opened);
    EXPECT_TRUE(f.player.state().tracks.isEmpty());
}

TEST(CdPlayerTest, TimeDisplayTrayChannelsAndVolume)
{
    PlayerFixture f;
    f.fake.insertDisc({75 * 100});
    f.player.start();
    f.player.toggleTimeDisplay();
    EXPECT_FALSE(f.player.state().timeDisplayOn);
    EXPECT_EQ(f.player.state().tracksLabel, QStringLiteral("disabled"));
    EXPECT_EQ(f.player.state().timeText, QStringLiteral("disabled"));
    f.player.tick(); // the display stays off
    EXPECT_EQ(f.player.state().tracksLabel, QStringLiteral("disabled"));
    f.player.toggleTimeDisplay();
    EXPECT_EQ(f.player.state().tracksLabel, QStringLiteral("Track:1 of 1"));

    f.player.ejectOrClose();
    EXPECT_TRUE(f.fake.doorOpen());
    EXPECT_TRUE(f.player.state().trayOpen);
    f.player.tick();
    EXPECT_EQ(f.player.state().tracksLabel, QStringLiteral("not available"));
    f.player.ejectOrClose();
    EXPECT_FALSE(f.fake.doorOpen());
    EXPECT_FALSE(f.player.state().trayOpen);

    f.player.setChannelMuted(CdChannel::Left, true);
    EXPECT_FALSE(f.fake.channelOn(CdChannel::Left));
    EXPECT_TRUE(f.fake.channelOn(CdChannel::Right));
    f.player.setChannelMuted(CdChannel::Left, false);
    EXPECT_TRUE(f.fake.channelOn(CdChannel::Left));
    f.player.setVolume(1000, 2000);
    int left = 0, right = 0;
    ASSERT_TRUE(f.fake.volume(&left, &right));
    EXPECT_EQ(left, 1000);
    EXPECT_EQ(right, 2000);
}

// The player's commands run on its own thread, in order: a drive that takes long to answer
// leaves the caller free, and the state comes back when the command is done.
TEST(CdPlayerTest, CommandsRunOffTheCallersThread)
{
    FakeCdAudio fake;
    fake.insertDisc({75 * 10, 75 * 20});
    std::atomic<bool> answer{false};
    std::atomic<QThread*> askedOn{nullptr};
    auto slowDrives = [&] {
        askedOn = QThread::currentThread();
        while (!answer)
            QThread::msleep(1);
        return QList<CdDrive>{{QStringLiteral("/dev/sr0"), true}};
    };
    {
        CdPlayerThread player(std::make_unique<CdPlayer>(deviceOf(fake), slowDrives));
        QSignalSpy states(&player, &CdPlayerThread::stateChanged);
        player.post([](CdPlayer& p) { p.start(); });
        player.post([](CdPlayer& p) { p.next(); });
        EXPECT_EQ(player.pending(), 2) << "post returns while the drive is still being asked";
        answer = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return states.size() == 2; }, 5000));
        EXPECT_EQ(player.pending(), 0);
        EXPECT_NE(askedOn.load(), QThread::currentThread());
        const auto last = states.last().first().value<CdPlayerState>();
        EXPECT_TRUE(last.opened);
        EXPECT_EQ(last.tracks, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        EXPECT_EQ(fake.requests().mid(1), (QStringList{QStringLiteral("stop"), QStringLiteral("seek 2"), QStringLiteral("play 2")}));
    }
    // Destroyed without waiting; the player closes the drive on its own thread.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fake.isOpen(); }, 5000));
}

#ifdef FOLVANE_HAVE_CDIO
class CdPlayerImageTest : public CdImageFixture {};

// A disc played to its end starts again at track 1 on Play, and not at its last track.
TEST_F(CdPlayerImageTest, PlayAfterTheEndOfTheDiscStartsAtTrackOne)
{
    const auto tape = RecordingCdSink::install();
    std::unique_ptr<CdAudioDevice> made = CdAudioDevice::create();
    CdAudioDevice* device = made.get();
    CdPlayer player(std::move(made), [this] { return QList<CdDrive>{{m_cue, true}}; });
    player.start();
    ASSERT_TRUE(player.state().opened);
    const auto playedToTheEnd = [&](const std::function<void()>& command) {
        tape->clear();
        command();
        EXPECT_TRUE(QTest::qWaitFor([&] { return device->mode() == MediaMode::Stopped; }, 20000));
        return tape->bytes();
    };
    EXPECT_TRUE(playedToTheEnd([&] { player.pickTrack(QStringLiteral("2")); }) == m_tracks[1]);
    player.tick();
    EXPECT_EQ(player.state().tracksLabel, QStringLiteral("Track:2 of 2"));
    EXPECT_TRUE(playedToTheEnd([&] { player.play(); }) == m_tracks[0] + m_tracks[1]) << "the whole disc from track 1";
    player.finish();
}
#endif

class CdDrivesTest : public TempHomeTest {};

TEST_F(CdDrivesTest, SysfsGivesTheDrivesAndTheirDiscs)
{
    const QString block = home().root() + QStringLiteral("/block");
    makeFile(QStringLiteral("block/sr10/size"), "0\n");
    makeFile(QStringLiteral("block/sr1/size"), "1403520\n");
    makeFile(QStringLiteral("block/sda/size"), "99\n");
    makeFolder(QStringLiteral("block/sr2"));
    EXPECT_EQ(ListCdDrives(block), (QList<CdDrive>{{QStringLiteral("/dev/sr1"), true}, {QStringLiteral("/dev/sr2"), false}, {QStringLiteral("/dev/sr10"), false}}));
    EXPECT_TRUE(ListCdDrives(home().root() + QStringLiteral("/none")).isEmpty());
    EXPECT_EQ(CdPlayer::driveText({QStringLiteral("/dev/sr0"), false}), QStringLiteral("/dev/sr0: no disk"));
}

} // namespace
