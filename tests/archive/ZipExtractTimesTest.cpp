// Extracted files get the time their entry records: the extended timestamp (seconds since the
// epoch) when there is one, otherwise the DOS date and time read as local time of the zone in
// force, in summer and in winter alike.
#include "ZipTestTools.h"
#include "archive/TAbZipKit.h"
#include "support/TempHome.h"

#include <QDir>

#include <ctime>
#include <sys/stat.h>

namespace {

// Entries named after their case; argv[2] holds "name:date:utseconds" items (utseconds 0: none).
const char* kTimesMaker = R"(
import struct, sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    for item in sys.argv[2:]:
        name, stamp, ut = item.split(':')
        i = zipfile.ZipInfo(name, tuple(int(x) for x in stamp.split('-')))
        if int(ut):
            i.extra = struct.pack('<HHBl', 0x5455, 5, 1, int(ut))
        z.writestr(i, name)
)";

// Sets TZ for the test's lifetime, so the expected seconds below hold on any machine.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        ::tzset();
    }
    ~ZoneScope()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        ::tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};

class ZipExtractTimesTest : public TempHomeTest {};

} // namespace

TEST_F(ZipExtractTimesTest, DosTimesAreLocalAndExtendedStampsWin)
{
    const ZoneScope zone("America/New_York");
    const struct {
        const char* name;
        const char* stamp;   // the DOS date and time, y-m-d-h-m-s
        const char* ut;      // the extended timestamp, 0 for none
        time_t expected;
    } cases[] = {
        {"summer", "2020-7-1-12-0-0", "0", 1593619200},  // 16:00 UTC, daylight time
        {"winter", "2020-1-15-12-0-0", "0", 1579107600}, // 17:00 UTC, standard time
        {"stamped", "2020-1-15-12-0-0", "1500000000", 1500000000},
    };
    QStringList items;
    for (const auto& c : cases)
        items << QStringLiteral("%1:%2:%3").arg(QLatin1String(c.name), QLatin1String(c.stamp), QLatin1String(c.ut));
    const QString archive = home().root() + QStringLiteral("/times.zip");
    const auto made = runPython(QString::fromUtf8(kTimesMaker), QStringList{archive} + items);
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();

    const QString target = home().root() + QStringLiteral("/out");
    QDir().mkpath(target);
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
    zip.BaseDirectory = target;
    ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.problems().join(QLatin1Char('\n')));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        struct stat st {};
        ASSERT_EQ(::stat((target + QLatin1Char('/') + QLatin1String(c.name)).toLocal8Bit().constData(), &st), 0);
        EXPECT_EQ(st.st_mtim.tv_sec, c.expected);
    }
}
