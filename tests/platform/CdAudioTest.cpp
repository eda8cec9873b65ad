// The CD device: tracks-minutes-seconds-frames arithmetic, and a clear error where there is
// no drive. (Playing a disc needs a drive and a disc; the CD player's own tests use FakeCdAudio.)
#include "platform/CdAudio.h"

#include "platform/ByteOrder.h"
#include "platform/CdAudioSink.h"
#include "support/CdImageFixture.h"
#include "support/FakeCdAudio.h"
#include "support/RecordingCdSink.h"
#include "support/TempHome.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <functional>

namespace {

TEST(CdAudioTest, PositionsPackAndCountFrames)
{
    const struct {
        int track;
        std::int64_t frames;
        CdPosition position;
        std::uint32_t tmsf;
        std::int64_t ms;
    } cases[] = {
        {1, 0, {1, 0, 0, 0}, 0x00000001u, 0},
        {3, 74, {3, 0, 0, 74}, 0x4a000003u, 986},
        {2, 75 * 61 + 5, {2, 1, 1, 5}, 0x05010102u, 61066},
        {12, 75 * 60 * 79 + 75 * 59 + 74, {12, 79, 59, 74}, 0x4a3b4f0cu, 4799986},
        {4, -10, {4, 0, 0, 0}, 0x00000004u, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        const CdPosition p = CdPosition::fromFrames(c.track, c.frames);
        EXPECT_EQ(p, c.position);
        EXPECT_EQ(p.packedTmsf(), c.tmsf);
        EXPECT_EQ(CdPosition::fromPackedTmsf(c.tmsf), p);
        EXPECT_EQ(p.milliseconds(), c.ms);
        EXPECT_EQ(p.packedMsf(), c.tmsf >> 8);
    }
}

TEST(CdAudioTest, NoDriveGivesAClearError)
{
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    EXPECT_FALSE(device->open(QStringLiteral("/nonexistent/sr9")));
#ifdef FOLVANE_HAVE_CDIO
    EXPECT_EQ(device->errorString(), QStringLiteral("Cannot open the CD drive /nonexistent/sr9."));
#endif
    EXPECT_FALSE(device->isOpen());
    EXPECT_FALSE(device->play(1));
    EXPECT_FALSE(device->errorString().isEmpty());
    EXPECT_EQ(device->mode(), MediaMode::NotReady);
    EXPECT_EQ(device->trackCount(), 0);
    if (!QFileInfo::exists(QStringLiteral("/dev/sr0")) && !QFileInfo::exists(QStringLiteral("/dev/cdrom"))) {
        EXPECT_FALSE(device->open(QString()));
        EXPECT_FALSE(device->errorString().isEmpty());
    }
}

TEST(CdAudioTest, FakeDriveStandsInForTheRealOne)
{
    FakeCdAudio fake;
    fake.install();
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    ASSERT_TRUE(device->open(QString()));
    EXPECT_FALSE(device->isReady());
    fake.insertDisc({75 * 200, 75 * 185 + 30});
    EXPECT_EQ(device->trackCount(), 2);
    EXPECT_EQ(device->trackLength(2), (CdPosition{0, 3, 5, 30}));
    EXPECT_TRUE(device->play(2));
    EXPECT_EQ(device->mode(), MediaMode::Playing);
    EXPECT_FALSE(device->seekToTrack(3));
    EXPECT_EQ(fake.requests(), (QStringList{QStringLiteral("open "), QStringLiteral("play 2"), QStringLiteral("seek 3")}));
    CdAudioDevice::setFactory({});
}

#ifdef FOLVANE_HAVE_CDIO
// The two-track disc image of CdImageFixture through libcdio's image driver.
class CdImageTest : public CdImageFixture {};

// The disc image read through libcdio's image driver agrees with cd-info's table of contents.
TEST_F(CdImageTest, TrackCountAndLengthsAgreeWithCdInfo)
{
    const QString cue = m_cue;
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    ASSERT_TRUE(device->open(cue)) << device->errorString().toStdString();
    ASSERT_TRUE(device->isReady());
    ASSERT_EQ(device->trackCount(), 2);
    EXPECT_EQ(device->trackLength(1), (CdPosition{0, 0, 3, 0}));
    EXPECT_EQ(device->trackLength(2), (CdPosition{0, 0, 2, 30}));

    // cd-info lists "  1: 00:02:00  000000 audio ..." per track and the lead-out as "170:".
    QProcess info;
    info.start(QStringLiteral("cd-info"), {QStringLiteral("--no-header"), QStringLiteral("--no-device-info"), QStringLiteral("--no-cddb"),
                                           QStringLiteral("--cue-file"), cue});
    ASSERT_TRUE(info.waitForFinished(20000));
    QList<int> starts;
    const QRegularExpression row(QStringLiteral("^\\s*(\\d+): \\d\\d:\\d\\d:\\d\\d\\s+(\\d+)"), QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(QString::fromUtf8(info.readAllStandardOutput())); it.hasNext();)
        starts << it.next().captured(2).toInt();
    ASSERT_EQ(starts.size(), 3) << "two tracks and the lead-out";
    for (int track = 1; track <= 2; ++track)
        EXPECT_EQ(device->trackLength(track).totalFrames(), starts[track] - starts[track - 1]) << track;
}

// Playback by digital extraction gives the disc's samples exactly, from the track asked for
// to the end of the disc, with the position counted from the samples heard.
TEST_F(CdImageTest, ExtractedSamplesAreTheSourceSamples)
{
    const auto tape = RecordingCdSink::install();
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    ASSERT_TRUE(device->open(m_cue)) << device->errorString().toStdString();
    EXPECT_EQ(device->position(), (CdPosition{1, 0, 0, 0}));
    const QByteArray second = playToTheEnd(*device, 2, tape);
    ASSERT_EQ(second.size(), m_tracks[1].size());
    EXPECT_TRUE(second == m_tracks[1]) << "track 2 differs from its sox source";
    EXPECT_EQ(device->position(), (CdPosition{2, 0, 2, 30})) << "at the end of track 2";

    ASSERT_TRUE(device->seekToTrack(1));
    EXPECT_EQ(device->position(), (CdPosition{1, 0, 0, 0}));
    const QByteArray whole = playToTheEnd(*device, 1, tape);
    EXPECT_TRUE(whole == m_tracks[0] + m_tracks[1]) << "the disc from track 1 on";
}

// Volume and mute are gains on the samples, per channel: the left muted gives silence on
// the left and leaves the right as it is; half volume halves the samples.
TEST_F(CdImageTest, ChannelGainsApplyToTheProducedSamples)
{
    const auto tape = RecordingCdSink::install();
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    ASSERT_TRUE(device->open(m_cue)) << device->errorString().toStdString();
    int left = 0;
    int right = 0;
    ASSERT_TRUE(device->volume(&left, &right));
    EXPECT_EQ(left, 65535);
    EXPECT_EQ(right, 65535);
    const QByteArray& source = m_tracks[1];
    auto sample = [](const QByteArray& pcm, qsizetype index) { return int(std::int16_t(byteorder::readLE16(pcm.constData() + 2 * index))); };
    const struct {
        const char* name;
        bool leftOn;
        int leftLevel, rightLevel;
        std::function<int(int)> leftOf, rightOf;
    } cases[] = {
        {"left muted", false, 65535, 65535, [](int) { return 0; }, [](int s) { return s; }},
        {"right at half", true, 65535, 32768, [](int s) { return s; }, [](int s) { return s / 2; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(device->setChannelOn(CdChannel::Left, c.leftOn));
        ASSERT_TRUE(device->setVolume(c.leftLevel, c.rightLevel));
        const QByteArray heard = playToTheEnd(*device, 2, tape);
        ASSERT_EQ(heard.size(), source.size());
        int leftWrong = 0;
        int rightWrong = 0;
        for (qsizetype i = 0; i < source.size() / 2; i += 2) {
            leftWrong += sample(heard, i) != c.leftOf(sample(source, i));
            rightWrong += sample(heard, i + 1) != c.rightOf(sample(source, i + 1));
        }
        EXPECT_EQ(leftWrong, 0);
        EXPECT_EQ(rightWrong, 0);
    }
}

// Pause holds the sound and the position; resume goes on from there; stop ends it.
TEST_F(CdImageTest, PauseResumeAndStop)
{
    const auto tape = RecordingCdSink::install();
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    ASSERT_TRUE(device->open(m_cue)) << device->errorString().toStdString();
    ASSERT_TRUE(device->play(1));
    ASSERT_TRUE(device->pause());
    EXPECT_EQ(device->mode(), MediaMode::Paused);
    QTest::qWait(20); // a pull already under way when the pause came
    const CdPosition held = device->position();
    QTest::qWait(100);
    EXPECT_EQ(device->position(), held);
    ASSERT_TRUE(device->resume());
    EXPECT_TRUE(QTest::qWaitFor([&] { return device->mode() == MediaMode::Stopped; }, 20000));
    EXPECT_TRUE(tape->bytes() == m_tracks[0] + m_tracks[1]) << "nothing lost or doubled across the pause";
    ASSERT_TRUE(device->play(2));
    ASSERT_TRUE(device->stop());
    EXPECT_EQ(device->mode(), MediaMode::Stopped);
}

// fvtool cd lists the tracks and extracts one through the same playback as the window.
TEST_F(CdImageTest, FvtoolListsAndExtractsTracks)
{
    const QString fvtool = qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/fvtool");
    QProcess tool;
    tool.start(fvtool, {QStringLiteral("cd"), m_cue});
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.readAllStandardOutput(), QByteArray("1 00:03:00 225\n2 00:02:30 180\n"));
    const QString out = home().root() + QStringLiteral("/track2.raw");
    tool.start(fvtool, {QStringLiteral("cd"), m_cue, QStringLiteral("2"), out});
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll() == m_tracks[1]);
    tool.start(fvtool, {QStringLiteral("cd"), m_cue, QStringLiteral("3"), out + QStringLiteral(".3")});
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_EQ(tool.readAllStandardError().trimmed(), QByteArray("The CD has no track 3."));
    EXPECT_FALSE(QFile::exists(out + QStringLiteral(".3")));
}

// Without a sound output, Play says so.
TEST_F(CdImageTest, PlayWithoutSoundOutputFails)
{
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    ASSERT_TRUE(device->open(m_cue));
    EXPECT_FALSE(device->play(1));
    EXPECT_EQ(device->errorString(), QStringLiteral("There is no sound output to play the CD on."));
}
#endif

} // namespace
