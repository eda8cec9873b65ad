// The CD device: tracks-minutes-seconds-frames arithmetic, and a clear error where there is
// no drive. (Playing a disc needs a drive and a disc; the CD player's own tests use FakeCdAudio.)
#include "platform/CdAudio.h"

#include "support/FakeCdAudio.h"
#include "support/TempHome.h"

#include <QFileInfo>

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

} // namespace
