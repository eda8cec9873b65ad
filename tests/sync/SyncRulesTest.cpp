// The decisions of synchronisation that need no disk, and the pair checks and texts.
#include "sync/SyncRules.h"

#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

constexpr std::int64_t kSecond = 1000000000;

SyncEntry entry(SyncKind kind, std::int64_t seconds = 0, long nanoseconds = 0)
{
    SyncEntry e;
    e.kind = kind;
    e.modified = {seconds, nanoseconds};
    return e;
}

} // namespace

TEST(SyncRulesTest, DecideTable)
{
    const SyncEntry none = entry(SyncKind::Missing);
    const SyncEntry older = entry(SyncKind::File, 100);
    const SyncEntry newer = entry(SyncKind::File, 100, 300000000); // 0.3 s later
    const SyncEntry link = entry(SyncKind::Link, 200);
    const SyncEntry fifo = entry(SyncKind::Special, 300);
    struct Case {
        const char* name;
        SyncEntry left, right;
        bool mustExist;
        std::int64_t resolution;
        SyncAction expected;
    } cases[] = {
        {"only left", older, none, false, 1, SyncAction::CopyToRight},
        {"only right", none, older, false, 1, SyncAction::CopyToLeft},
        {"only left, must exist", older, none, true, 1, SyncAction::None},
        {"only right, must exist", none, older, true, 1, SyncAction::None},
        {"left newer by 0.3 s", newer, older, false, 1, SyncAction::CopyToRight},
        {"right newer by 0.3 s", older, newer, true, 1, SyncAction::CopyToLeft},
        {"equal", older, older, false, 1, SyncAction::None},
        {"0.3 s apart on FAT", newer, older, false, 2 * kSecond, SyncAction::None},
        {"links compare by their own time", link, entry(SyncKind::Link, 100), false, 1, SyncAction::CopyToRight},
        {"file against link", older, link, false, 1, SyncAction::Skip},
        {"FIFO on the left only", fifo, none, false, 1, SyncAction::Skip},
        {"FIFO against a file", older, fifo, false, 1, SyncAction::Skip},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SyncRules::decide(c.left, c.right, c.mustExist, c.resolution), c.expected) << c.name;
}

TEST(SyncRulesTest, TimesCompareWithTheCoarserResolution)
{
    struct Case {
        struct timespec a, b;
        std::int64_t resolution;
        int expected;
    } cases[] = {
        {{10, 1}, {10, 0}, 1, 1},                       // one nanosecond counts on exact file systems
        {{10, 0}, {10, 1}, 1, -1},
        {{11, 900000000}, {10, 0}, 2 * kSecond, 0},     // FAT keeps 10 s for 11.9 s: the same file
        {{12, 0}, {10, 0}, 2 * kSecond, 1},             // two seconds apart is a change even there
        {{10, 999999999}, {10, 0}, kSecond, 0},
        {{-1, 500000000}, {0, 0}, 1, -1},               // before 1970
    };
    for (const Case& c : cases)
        EXPECT_EQ(SyncRules::compareTimes(c.a, c.b, c.resolution), c.expected) << c.a.tv_sec << "." << c.a.tv_nsec;
    EXPECT_EQ(SyncRules::timeResolution(0x4d44), 2 * kSecond); // vfat
    EXPECT_EQ(SyncRules::timeResolution(0xEF53), 1);          // ext4
}

TEST(SyncRulesTest, StatusTextsLongerThanFiftyAreCutInTheMiddle)
{
    const QString sixty = QStringLiteral("/home/user/Documents/projects/2026/reports/final-version.txt");
    ASSERT_EQ(sixty.size(), 60);
    EXPECT_EQ(SyncRules::shortened(sixty), sixty.left(23) + QStringLiteral("...") + sixty.right(24));
    EXPECT_EQ(SyncRules::shortened(sixty).size(), 50);
    const QString fifty = sixty.left(50);
    EXPECT_EQ(SyncRules::shortened(fifty), fifty);
    // A character outside the basic plane at the cut stays whole.
    const QString wide = QString(22, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x93\x81") + QString(40, QLatin1Char('b'));
    const QString cut = SyncRules::shortened(wide);
    EXPECT_FALSE(cut.at(21).isHighSurrogate() && !cut.at(22).isLowSurrogate());
    EXPECT_TRUE(cut.contains(QStringLiteral("...")));
}

TEST(SyncRulesTest, Texts)
{
    EXPECT_EQ(SyncRules::summaryText(3, 12, 0), QStringLiteral("Created 3 folders\r\nUpdated 12 File(s)\r\n"));
    EXPECT_EQ(SyncRules::summaryText(0, 1, 2),
              QStringLiteral("Created 0 folders\r\nUpdated 1 File(s)\r\nNot updated 2 File(s)\r\n"));
    EXPECT_EQ(SyncRules::cannotCreateFolder("/a/b"), QStringLiteral("Cannot create directory\r\n/a/b"));
}

class SyncPairCheckTest : public TempHomeTest {};

TEST_F(SyncPairCheckTest, RefusesEmptySameAndNestedPairs)
{
    const QByteArray a = QFile::encodeName(makeFolder(QStringLiteral("a")));
    const QByteArray ab = QFile::encodeName(makeFolder(QStringLiteral("a/b")));
    const QByteArray abc = QFile::encodeName(makeFolder(QStringLiteral("abc")));
    const QByteArray link = QFile::encodeName(home().root() + QStringLiteral("/link-to-a"));
    ASSERT_EQ(::symlink(a.constData(), link.constData()), 0);
    const QString nothing = SyncRules::nothingToSynchronize();
    const QString nested = SyncRules::nestedFolders();
    struct Case {
        QByteArray left, right;
        QString expected;
    } cases[] = {
        {a, QByteArray(), nothing},
        {a, a + '/', nothing},
        {a, link, nothing},             // the same folder through a link
        {a, ab, nested},
        {ab, a, nested},
        {link + "/b", a, nested},       // inside, seen only once resolved
        {QByteArray("/"), a, nested},
        {a, abc, QString()},            // a name that merely begins the same
        {a, a + "/missing", nested},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SyncRules::pairProblem(c.left, c.right), c.expected) << c.left.constData() << " " << c.right.constData();
    EXPECT_TRUE(SyncRules::pairProblem(a, abc + "/missing").startsWith(QStringLiteral("Cannot find the folder\r\n")));
}
