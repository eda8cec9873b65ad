// Size and date texts.
#include "QtPrinters.h"
#include "browse/FileFormat.h"
#include "browse/FileTimeFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const QLocale us(QLocale::English, QLocale::UnitedStates);

TEST(FormatTest, FormatFileSizeBoundaries)
{
    struct Case {
        int64_t size;
        const char* expected;
    } cases[] = {
        {0, "0.00 Bytes"},
        {999, "999.00 Bytes"},
        {1000, "0.98 KB"},
        {1048575, "1,024.00 KB"},
        {1048576, "1.00 MB"},
        {1073741823, "1,024.00 MB"},
        {1073741824, "1.00 GB"},
        {4294967296, "4.00 GB"},
        {int64_t(5000) * 1073741824, "5,000.00 GB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFileSize(c.size, us), QLatin1String(c.expected)) << c.size;
    EXPECT_EQ(FormatFileSize(1536, QLocale(QLocale::German, QLocale::Germany)), "1,50 KB");
}

TEST(FormatTest, SizeColumnInBytesAndKilobytes)
{
    struct Case {
        int64_t size;
        const char* kb;
        const char* bytes;
    } cases[] = {
        {0, "0 KB", "0"},
        {1, "1 KB", "1"},
        {1023, "1 KB", "1023"},
        {1024, "1 KB", "1024"},
        {2047, "1 KB", "2047"},
        {2048, "2 KB", "2048"},
        {4294967296, "4194304 KB", "4294967296"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileFormat::sizeColumn(c.size, TFileSize::fsKB), QLatin1String(c.kb)) << c.size;
        EXPECT_EQ(FileFormat::sizeColumn(c.size, TFileSize::fsByte), QLatin1String(c.bytes)) << c.size;
    }
    EXPECT_EQ(FileFormat::driveMegabytes(1048576 * 3 + 256, us), "3,072 Mb");
    EXPECT_EQ(FileFormat::driveMegabytes(0, us), "0 Mb");
}

class FormatTimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = qgetenv("TZ");
        qputenv("TZ", "UTC");
        tzset();
    }
    void TearDown() override
    {
        qputenv("TZ", m_saved);
        tzset();
    }
    QByteArray m_saved;
};

TEST_F(FormatTimeTest, EveryDateFormat)
{
    const int64_t when = 1709388062; // 2024-03-02 14:01:02 UTC
    struct Case {
        TDtFormat format;
        const char* date;
    } cases[] = {
        {TDtFormat::df_MMddyyyy, "03/02/2024"},
        {TDtFormat::df_MMddyy, "03/02/24"},
        {TDtFormat::df_ddMMyyyy, "02/03/2024"},
        {TDtFormat::df_ddMMyy_GB, "02/03/24"},
        {TDtFormat::df_ddMMyy_DE, "02.03.24"},
        {TDtFormat::df_ddMMyy_IT, "02-03-24"},
        {TDtFormat::df_yyyyMMdd, "2024-03-02"},
        {TDtFormat::df_yyMMdd, "24-03-02"},
        {TDtFormat::df_Customize, "3/2/24"},
    };
    for (const Case& c : cases) {
        const FileTimeFormat format(c.format, TTmFormat::tfShortFormat, us);
        // The locale puts its own (narrow) blank before the day half.
        const QString text = format.format(when);
        EXPECT_EQ(text.left(int(strlen(c.date)) + 5), QLatin1String(c.date) + QStringLiteral(" 2:01")) << format.pattern().toStdString();
        EXPECT_TRUE(text.endsWith(QLatin1String("PM"))) << text.toStdString();
    }
    EXPECT_EQ(FileTimeFormat(TDtFormat::df_yyyyMMdd, TTmFormat::tfLongFormat, us).format(when).left(18), "2024-03-02 2:01:02");
    EXPECT_TRUE(FileTimeFormat(TDtFormat::df_yyyyMMdd, TTmFormat::tfCustomize, us).format(when).endsWith("PM"));
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FileTimeFormat(TDtFormat::df_yyyyMMdd, TTmFormat::tfCustomize, de).format(when), "2024-03-02 02:01:02 PM");
    // The zone is left out of the long time; quoted text keeps its letters.
    EXPECT_EQ(FileTimeFormat::timePattern(TTmFormat::tfLongFormat, QLocale(QLocale::German, QLocale::Germany)), "HH:mm:ss");
    EXPECT_EQ(FileTimeFormat(TDtFormat::df_yyyyMMdd, TTmFormat::tfShortFormat, QLocale(QLocale::French, QLocale::Canada))
                  .format(when).left(10), "2024-03-02");
    // German: "/" takes the locale's date separator, the 24-hour clock stays.
    EXPECT_EQ(FileTimeFormat(TDtFormat::df_MMddyyyy, TTmFormat::tfShortFormat, de).format(when), "03.02.2024 14:01");
}

TEST(FormatTest, DateKeyIsTheFifteenDigitGeneralFormOfTheFileTime)
{
    EXPECT_EQ(FileFormat::dateKey(0, 0, QLocale::c()), "1.16444736E17");
    EXPECT_EQ(FileFormat::dateKey(1709388062, 123456700, QLocale::c()), "1.33538616621235E17");
    EXPECT_EQ(FileFormat::dateKey(0, 0, QLocale(QLocale::German, QLocale::Germany)), "1,16444736E17");
}

} // namespace
