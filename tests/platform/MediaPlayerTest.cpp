// The media player device: one completion notice per request on the UI thread (through the
// fake back end, whose end of media the test decides), and the Qt Multimedia back end on a WAV
// the test writes.
#include "platform/MediaPlayer.h"

#ifdef FOLVANE_HAVE_MULTIMEDIA
#include "platform/media/QtMediaPlayer.h"

#include <QVideoWidget>
#endif

#include "support/FakeMediaPlayer.h"
#include "support/NullAudioSink.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QtEndian>

namespace {

class MediaPlayerTest : public TempHomeTest {
protected:
    void TearDown() override
    {
        MediaPlayer::setFactory({});
        TempHomeTest::TearDown();
    }
    QList<MediaNotifyValue> notices;
    void listen(MediaPlayer& player)
    {
        QObject::connect(&player, &MediaPlayer::notified, &player, [this](MediaNotifyValue v) { notices << v; });
    }
};

// A mono 16-bit PCM WAV of the given length with a 440 Hz tone.
QByteArray wav(int milliseconds)
{
    const int rate = 8000;
    const int samples = rate * milliseconds / 1000;
    QByteArray data(samples * 2, Qt::Uninitialized);
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16(8000 * std::sin(2 * M_PI * 440 * i / rate)), data.data() + 2 * i);
    QByteArray out("RIFF");
    auto le32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); };
    auto le16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); };
    le32(36 + data.size());
    out += "WAVEfmt ";
    le32(16); le16(1); le16(1); le32(rate); le32(rate * 2); le16(2); le16(16);
    out += "data";
    le32(data.size());
    return out + data;
}

TEST_F(MediaPlayerTest, EveryRequestEndsWithOneNoticeOnTheEventLoop)
{
    FakeMediaPlayer::install();
    std::unique_ptr<MediaPlayer> player = MediaPlayer::create();
    FakeMediaPlayer* fake = FakeMediaPlayer::last();
    ASSERT_EQ(player.get(), fake);
    listen(*player);
    player->setNotify(true);
    const QString file = makeFile(QStringLiteral("a.wav"), "x");

    ASSERT_TRUE(player->open(file));
    EXPECT_TRUE(notices.isEmpty()); // sent through the event loop, never from inside the call
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, QList<MediaNotifyValue>{MediaNotifyValue::Successful});

    notices.clear();
    player->play();
    player->pause();  // takes the play's place
    player->resume(); // a new play
    player->stop();   // ends it
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, (QList<MediaNotifyValue>{MediaNotifyValue::Superseded, MediaNotifyValue::Successful,
                                                MediaNotifyValue::Aborted, MediaNotifyValue::Successful}));

    notices.clear();
    player->play();
    fake->finishPlayback();
    fake->finishPlayback(); // a second end reports nothing more
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, QList<MediaNotifyValue>{MediaNotifyValue::Successful});
    EXPECT_EQ(player->mode(), MediaMode::Stopped);

    notices.clear();
    player->setNotify(false);
    player->play();
    fake->finishPlayback();
    player->seek(10);
    QCoreApplication::processEvents();
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(MediaPlayerTest, FailuresCarryTheirTextAndNotifyFailure)
{
    FakeMediaPlayer::install();
    std::unique_ptr<MediaPlayer> player = MediaPlayer::create();
    listen(*player);
    player->setNotify(true);
    EXPECT_FALSE(player->open(home().root() + QStringLiteral("/missing.wav")));
    EXPECT_EQ(player->errorString(), QStringLiteral("The specified file was not found."));
    EXPECT_FALSE(player->play());
    EXPECT_EQ(player->errorString(), QStringLiteral("No file is open on the media device."));
    ASSERT_TRUE(player->open(makeFile(QStringLiteral("b.wav"), "x")));
    player->play();
    FakeMediaPlayer::last()->failPlayback(QStringLiteral("decoder gone"));
    EXPECT_EQ(player->errorString(), QStringLiteral("decoder gone"));
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, (QList<MediaNotifyValue>{MediaNotifyValue::Failure, MediaNotifyValue::Failure,
                                                MediaNotifyValue::Successful, MediaNotifyValue::Failure}));

    MediaPlayer::setFactory({});
    std::unique_ptr<MediaPlayer> none = MediaPlayer::create();
    EXPECT_FALSE(none->open(makeFile(QStringLiteral("c.wav"), "x")));
    EXPECT_EQ(none->errorString(), QStringLiteral("Media playback is not available in this build of the program."));
}

TEST_F(MediaPlayerTest, WaitReturnsWhenThePlayHasEnded)
{
    FakeMediaPlayer::install();
    std::unique_ptr<MediaPlayer> player = MediaPlayer::create();
    ASSERT_TRUE(player->open(makeFile(QStringLiteral("d.wav"), "x")));
    QTimer::singleShot(50, player.get(), [] { FakeMediaPlayer::last()->finishPlayback(); });
    player->setWait(true);
    EXPECT_TRUE(player->play());
    EXPECT_EQ(player->mode(), MediaMode::Stopped);
    EXPECT_EQ(player->position(), player->length());
}

#ifdef FOLVANE_HAVE_MULTIMEDIA
TEST_F(MediaPlayerTest, QtBackEndPlaysAWavToItsEnd)
{
    ASSERT_TRUE(kNullAudioSink);
    QtMediaPlayer player;
    listen(player);
    EXPECT_FALSE(player.open(home().root() + QStringLiteral("/none.wav")));
    EXPECT_EQ(player.errorString(), QStringLiteral("The specified file was not found."));
    EXPECT_FALSE(player.open(makeFile(QStringLiteral("broken.wav"), "RIFF\x10\0\0\0WAVEjunk")));
    EXPECT_FALSE(player.errorString().isEmpty());
    EXPECT_EQ(player.mode(), MediaMode::NotReady);

    ASSERT_TRUE(player.open(makeFile(QStringLiteral("tone.wav"), wav(400)))) << qPrintable(player.errorString());
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
    EXPECT_NEAR(double(player.length()), 400.0, 50.0);
    player.setVolume(1500);
    EXPECT_EQ(player.volume(), 1000);
    player.setVolume(0); // quiet on a machine that has a sound card
    player.setNotify(true);
    ASSERT_TRUE(player.play());
    if (!QTest::qWaitFor([&] { return !notices.isEmpty(); }, 10000)) {
        // GStreamer with no sound card and no null sink never runs the clock.
        GTEST_SKIP() << "the media framework found no audio output to play through on this machine";
    }
    EXPECT_EQ(notices, QList<MediaNotifyValue>{MediaNotifyValue::Successful});
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
}

TEST_F(MediaPlayerTest, QtBackEndDrawsVideoIntoTheGivenRectangle)
{
    QtMediaPlayer player;
    QWidget pane;
    player.setDisplay(&pane, QRect(10, 20, 320, 180));
    const QList<QVideoWidget*> children = pane.findChildren<QVideoWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children.first()->geometry(), QRect(10, 20, 320, 180));
    player.setDisplay(&pane, QRect(0, 0, 640, 360)); // moved, not made again
    EXPECT_EQ(pane.findChildren<QVideoWidget*>(Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(children.first()->geometry(), QRect(0, 0, 640, 360));
}
#endif

} // namespace
