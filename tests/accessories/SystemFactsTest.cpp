// The about box's live figures: memory from /proc/meminfo, the clock from cpufreq.
#include "accessories/SystemFacts.h"

#include "support/TempHome.h"

#include <QFile>

namespace {

TEST(SystemFactsTest, MeminfoIsParsedAndBounded)
{
    const QByteArray sample = "MemTotal:       16000000 kB\nMemFree:         1000000 kB\nMemAvailable:    4000000 kB\n"
                              "CommitLimit:    10000000 kB\nCommitted_AS:    3000000 kB\ngarbage\nHugePages_Total:       0\n";
    const MemoryFigures m = MemoryFigures::parse(sample);
    ASSERT_TRUE(m.valid);
    EXPECT_EQ(m.total, 16000000LL * 1024);
    EXPECT_EQ(m.available, 4000000LL * 1024);
    EXPECT_EQ(m.virtualAvailable, 7000000LL * 1024);
    EXPECT_EQ(m.loadPercent, 75);
    for (const QByteArray& bad : {QByteArray(), QByteArray("MemTotal: 0 kB\n"), QByteArray("MemTotal: x kB\n"), QByteArray(":::\n\n")})
        EXPECT_FALSE(MemoryFigures::parse(bad).valid) << bad.constData();
}

TEST(SystemFactsTest, FiguresAgreeWithProcMeminfo)
{
    QFile file(QStringLiteral("/proc/meminfo"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const int at = text.indexOf("MemTotal:");
    const qint64 totalKb = text.mid(at + 9, text.indexOf('\n', at) - at - 9).simplified().split(' ').value(0).toLongLong();
    const MemoryFigures m = MemoryFigures::read();
    ASSERT_TRUE(m.valid);
    EXPECT_EQ(m.total, totalKb * 1024);
    EXPECT_GT(m.available, 0);
    EXPECT_LE(m.available, m.total);
    const QStringList lines = SystemFacts::liveLines(m, 2.5);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Total Physical Memory: ")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Physical Memory Available: ")));
    EXPECT_EQ(lines[2], QStringLiteral("In use: ") + QString::number(m.loadPercent) + QStringLiteral("%"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Virtual Available: ")));
    EXPECT_EQ(lines[4], QStringLiteral("CPU speed: 2.500000 GHz"));
}

class CpuClockTest : public TempHomeTest {};

TEST_F(CpuClockTest, CpufreqFirstThenCpuinfo)
{
    const QString root = home().root() + QStringLiteral("/fake");
    EXPECT_EQ(SystemFacts::cpuGHz(root), 0.0);
    makeFile(QStringLiteral("fake/proc/cpuinfo"), "processor\t: 0\ncpu MHz\t\t: 2400.000\n");
    EXPECT_DOUBLE_EQ(SystemFacts::cpuGHz(root), 2.4);
    makeFile(QStringLiteral("fake/sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq"), "3100000\n");
    EXPECT_DOUBLE_EQ(SystemFacts::cpuGHz(root), 3.1);
}

} // namespace
