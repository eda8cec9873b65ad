// The CD device: tracks-minutes-seconds-frames arithmetic, and a clear error where there is
// no drive. (Playing a disc needs a drive and a disc; the CD player's own tests use FakeCdAudio.)
#include "platform/CdAudio.h"

#include "support/FakeCdAudio.h"
#include "support/TempHome.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

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
class CdImageTest : public TempHomeTest {};

// A two-track audio disc image made with sox, read through libcdio's image driver and
// checked against cd-info's table of contents.
TEST_F(CdImageTest, TrackCountAndLengthsAgreeWithCdInfo)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty() || QStandardPaths::findExecutable(QStringLiteral("cd-info")).isEmpty())
        GTEST_SKIP() << "sox or cd-info is not installed";
    const QString root = home().root();
    // Whole sectors (1/75 s): 225 and 180 sectors.
    const struct {
        const char* name;
        const char* seconds;
        int frames;
    } tracks[] = {{"t1.raw", "3", 225}, {"t2.raw", "2.4", 180}};
    QByteArray bin;
    for (const auto& t : tracks) {
        const QString raw = root + QLatin1Char('/') + QLatin1String(t.name);
        ASSERT_EQ(QProcess::execute(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                                                            QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-e"),
                                                            QStringLiteral("signed-integer"), QStringLiteral("-L"), QStringLiteral("-t"), QStringLiteral("raw"), raw,
                                                            QStringLiteral("synth"), QLatin1String(t.seconds), QStringLiteral("sine"), QStringLiteral("440")}),
                  0);
        QFile file(raw);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray samples = file.readAll();
        ASSERT_EQ(samples.size(), t.frames * 2352);
        bin += samples;
    }
    makeFile(QStringLiteral("disc.bin"), bin);
    const QString cue = makeFile(QStringLiteral("disc.cue"), "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                             "  TRACK 02 AUDIO\n    INDEX 01 00:03:00\n");

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
#endif

} // namespace
