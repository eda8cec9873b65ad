// The year calendar: weekdays from the real calendar (checked against ncal, a calendar no one
// here wrote), the layout of the text, fvtool's copy of it, and the save questions.
#include "accessories/YearCalendar.h"

#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

using Grid = QList<QList<int>>; // weeks of seven days, 0 for a blank cell

// The six week lines of month (1..12) in our text.
Grid ourMonth(const QString& text, int month)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int quarter = (month - 1) / 3;
    const int column = (month - 1) % 3;
    const int first = 2 + quarter * 10 + 3; // year, blank, then per quarter: names, blank, days, 6 weeks, margin
    Grid grid;
    for (int week = 0; week < 6; ++week) {
        const QString line = lines.value(first + week);
        QList<int> days;
        for (int d = 0; d < 7; ++d)
            days << line.mid(5 + column * 25 + d * 3, 3).trimmed().toInt();
        grid << days;
    }
    return grid;
}

// The weeks of one month as ncal prints them in its calendar layout (-b), without highlight.
Grid ncalMonth(int year, int month)
{
    QProcess ncal;
    ncal.start(QStringLiteral("ncal"), {QStringLiteral("-b"), QStringLiteral("-h"), QString::number(month), QString::number(year)});
    ncal.waitForFinished();
    const QStringList lines = QString::fromUtf8(ncal.readAllStandardOutput()).split(QLatin1Char('\n'));
    Grid grid;
    for (int week = 0; week < 6; ++week) {
        const QString line = lines.value(2 + week);
        QList<int> days;
        for (int d = 0; d < 7; ++d)
            days << line.mid(d * 3, 2).trimmed().toInt();
        grid << days;
    }
    return grid;
}

TEST(YearCalendarTest, WeekdaysFollowTheRealCalendar)
{
    const struct {
        int year;
        int firstWeekday; // 1 Sunday .. 7 Saturday
        bool leap;
    } cases[] = {
        {1901, 3, false}, {2008, 3, true}, {1900, 2, false}, {2100, 6, false}, {2000, 7, true}, {1800, 4, false}, {1, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(YearCalendar::firstWeekday(c.year), c.firstWeekday);
        const Grid february = ourMonth(YearCalendar::text(c.year), 2);
        bool has29 = false;
        for (const QList<int>& week : february)
            has29 = has29 || week.contains(29);
        EXPECT_EQ(has29, c.leap);
    }
}

TEST(YearCalendarTest, MonthsMatchNcal)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ncal")).isEmpty())
        GTEST_SKIP() << "ncal is not installed";
    for (int year : {1901, 2008, 2024, 2100}) {
        const QString text = YearCalendar::text(year);
        for (int month = 1; month <= 12; ++month) {
            SCOPED_TRACE(QStringLiteral("%1-%2").arg(year).arg(month).toStdString());
            EXPECT_EQ(ourMonth(text, month), ncalMonth(year, month));
        }
    }
}

TEST(YearCalendarTest, TextLayout)
{
    const QStringList lines = YearCalendar::text(2008).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 4 * 10 + 1 + 1); // the last line ends with "\n"
    EXPECT_EQ(lines[0], QString(40, QLatin1Char(' ')) + QStringLiteral("2008"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("     ") + QStringLiteral("         January         ") + QStringLiteral("        February         ")
                            + QStringLiteral("          March          "));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], QStringLiteral("     ") + QStringLiteral("  S  M  T  W  T  F  S    ").repeated(3));
    // 1 January 2008 is a Tuesday: the third cell.
    EXPECT_EQ(lines[5].left(5 + 25), QStringLiteral("     ") + QStringLiteral("        1  2  3  4  5    "));
    EXPECT_EQ(lines[11], QStringLiteral("     "));
    for (int i = 5; i < 11; ++i)
        EXPECT_EQ(lines[i].size(), 5 + 3 * 25) << i;
    EXPECT_EQ(lines[42].size(), 80);
    EXPECT_EQ(lines[42].trimmed(), YearCalendar::notice());
    EXPECT_TRUE(lines[43].isEmpty());
}

TEST(YearCalendarTest, FvtoolPrintsTheSameText)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/fvtool"), {QStringLiteral("calendar"), QStringLiteral("2100")});
    ASSERT_TRUE(tool.waitForFinished());
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()), YearCalendar::text(2100));
    tool.start(qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/fvtool"), {QStringLiteral("calendar"), QStringLiteral("0")});
    ASSERT_TRUE(tool.waitForFinished());
    EXPECT_EQ(tool.exitCode(), 2);
}

class YearCalendarSaveTest : public TempHomeTest {};

TEST_F(YearCalendarSaveTest, AsksForTheNameAndBeforeOverwriting)
{
    const QString folder = home().root();
    const QString target = folder + QStringLiteral("/FV2008.txt");
    const QString title = QStringLiteral("Name of text file for \"2008\" Calendar");

    prompter().answerText(std::nullopt);
    EXPECT_TRUE(YearCalendar::saveAsking(2008, folder));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(prompter().last().caption, title);
    EXPECT_EQ(prompter().last().text, QStringLiteral("Name:"));

    prompter().answerText(target);
    ASSERT_TRUE(YearCalendar::saveAsking(2008, folder));
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), YearCalendar::text(2008));
    saved.close();

    QFile::remove(target);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    prompter().answerText(target).answer(PromptButton::No);
    EXPECT_TRUE(YearCalendar::saveAsking(2008, folder));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("keep me"));
    old.close();
    EXPECT_EQ(prompter().last().text, target + QStringLiteral(" exists, overwrite?"));

    prompter().answerText(target).answer(PromptButton::Yes);
    EXPECT_TRUE(YearCalendar::saveAsking(2008, folder));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(old.readAll()), YearCalendar::text(2008));
    EXPECT_EQ(YearCalendar::proposedFileName(folder, 2008), target);
}

} // namespace
