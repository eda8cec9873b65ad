// What each change notice owes the browse panes, and how the owed refresh keeps the
// strongest level and spaces reloads out.
#include "fileops/ChangeHandlers.h"
#include "fileops/RefreshOwed.h"

#include <gtest/gtest.h>

namespace {

using ChangeHandlers::Decision;
using L = RefreshLevel;

struct NoticeCase {
    const char* label;
    ChangeEvent event;
    const char* path;
    const char* path2;
    Decision expected;
};

TEST(ChangeHandlersTest, EachNoticeOwesWhatItChangesOnScreen)
{
    const ChangeHandlers::Shown shown{QStringLiteral("/data/docs/"), QStringLiteral("/data/docs/")};
    const NoticeCase cases[] = {
        {"file made in the listed folder", ChangeEvent::Create, "/data/docs/a.txt", "", {L::ListOnly, {}, true}},
        {"file made elsewhere changes nothing shown", ChangeEvent::Create, "/data/other/a.txt", "", {}},
        {"file made below the listed folder", ChangeEvent::Create, "/data/docs/sub/a.txt", "", {}},
        {"file deleted in the listed folder", ChangeEvent::Delete, "/data/docs/a.txt", "", {L::ListOnly, {}, true}},
        {"file written", ChangeEvent::UpdateItem, "/data/docs/a.txt", "", {L::ListOnly, {}, true}},
        {"attributes changed: the letters shown", ChangeEvent::Attributes, "/data/docs/a.txt", "", {L::ListOnly, {}, false}},
        {"renamed into the list", ChangeEvent::RenameItem, "/tmp/a", "/data/docs/a", {L::ListOnly, {}, true}},
        {"renamed out of the list", ChangeEvent::RenameItem, "/data/docs/a", "/tmp/a", {L::ListOnly, {}, true}},
        {"folder made in the listed folder", ChangeEvent::MakeFolder, "/data/docs/new", "",
         {L::ListOnly, {QStringLiteral("/data/docs")}, true}},
        {"folder made under another node", ChangeEvent::MakeFolder, "/data/x/new", "", {L::None, {QStringLiteral("/data/x")}, true}},
        {"the current folder removed", ChangeEvent::RemoveFolder, "/data/docs", "", {L::Full, {}, true}},
        {"a parent of the current folder renamed", ChangeEvent::RenameFolder, "/data", "/data2", {L::Full, {}, true}},
        {"a folder beside it renamed", ChangeEvent::RenameFolder, "/data/docsx", "/data/y",
         {L::None, {QStringLiteral("/data")}, true}},
        {"the listed folder updated", ChangeEvent::UpdateDir, "/data/docs", "", {L::ListOnly, {QStringLiteral("/data/docs")}, true}},
        {"another folder updated", ChangeEvent::UpdateDir, "/srv", "", {L::None, {QStringLiteral("/srv")}, true}},
        {"everything may have changed", ChangeEvent::UpdateDir, "/", "", {L::Full, {}, true}},
        {"a drive added", ChangeEvent::DriveAdd, "/media/usb", "", {L::Full, {}, true}},
        {"a medium removed", ChangeEvent::MediaRemove, "/org/freedesktop/UDisks2/block_devices/sr0", "", {L::Full, {}, true}},
        {"free space", ChangeEvent::FreeSpace, "/data", "", {L::None, {}, true}},
    };
    for (const NoticeCase& c : cases) {
        const ChangeNotice notice{c.event, QString::fromUtf8(c.path), QString::fromUtf8(c.path2)};
        EXPECT_EQ(ChangeHandlers::decide(notice, shown), c.expected) << c.label;
    }
}

TEST(ChangeHandlersTest, TheDrivesViewOwesNothingForFiles)
{
    const ChangeHandlers::Shown drives{QStringLiteral("My Computer"), QStringLiteral("/home/")};
    EXPECT_EQ(ChangeHandlers::decide({ChangeEvent::Create, QStringLiteral("/home/a"), {}}, drives), Decision{});
    EXPECT_EQ(ChangeHandlers::decide({ChangeEvent::DriveRemove, QStringLiteral("/media/usb"), {}}, drives).level, L::Full);
}

TEST(RefreshOwedTest, TheStrongestRefreshOwedIsKept)
{
    RefreshOwed owed;
    EXPECT_EQ(owed.PendingRefresh(), L::None);
    EXPECT_EQ(owed.waitMs(0), -1);
    owed.owe(L::Full);
    owed.owe(L::ListOnly); // a later, weaker notice
    owed.owe(L::None);
    EXPECT_EQ(owed.PendingRefresh(), L::Full);
    owed.oweTreeSync(QStringLiteral("/a"));
    owed.oweTreeSync(QStringLiteral("/a"));
    const RefreshOwed::Work work = owed.take(0);
    EXPECT_EQ(work.level, L::Full);
    EXPECT_EQ(work.treeFolders, QStringList{QStringLiteral("/a")});
    EXPECT_FALSE(owed.isOwed());
}

TEST(RefreshOwedTest, ReloadsKeepTheirGapsSoABurstCostsAFew)
{
    RefreshOwed owed;
    owed.owe(L::ListOnly);
    EXPECT_EQ(owed.waitMs(1000), 0); // the first change shows at once
    owed.take(1000);
    owed.owe(L::ListOnly);
    EXPECT_EQ(owed.waitMs(1100), RefreshOwed::kListGapMs - 100);
    EXPECT_EQ(owed.waitMs(1000 + RefreshOwed::kListGapMs), 0);
    owed.take(1300);
    owed.owe(L::Full);
    EXPECT_EQ(owed.waitMs(1400), 0); // no full reload yet
    owed.take(1400);
    owed.owe(L::Full);
    EXPECT_EQ(owed.waitMs(1500), RefreshOwed::kFullGapMs - 100);
    owed.owe(L::ListOnly);
    EXPECT_EQ(owed.waitMs(1500), RefreshOwed::kFullGapMs - 100); // still owed in full

    // A stream of changes every 10 ms for 5 seconds, paid whenever allowed.
    RefreshOwed burst;
    int reloads = 0;
    for (qint64 t = 0; t < 5000; t += 10) {
        burst.owe(L::ListOnly, t);
        if (burst.waitMs(t) == 0) {
            burst.take(t);
            ++reloads;
        }
    }
    // 0, 300, 900, 2100, 4100 ms: the gap doubles while the burst goes on.
    EXPECT_EQ(reloads, 5);
    // After a quiet spell one change shows at once and the gap is short again.
    burst.owe(L::ListOnly, 20000);
    ASSERT_EQ(burst.waitMs(20000), 0);
    burst.take(20000);
    burst.owe(L::ListOnly, 20010);
    EXPECT_EQ(burst.waitMs(20010), RefreshOwed::kListGapMs - 10);

    // A file made and then written: two notices together, then quiet: no burst.
    RefreshOwed written;
    for (qint64 t = 0; t < 5000; t += 400) {
        written.owe(L::ListOnly, t);
        if (written.waitMs(t) == 0)
            written.take(t);
        written.owe(L::ListOnly, t + 2);
        const qint64 due = t + 2 + written.waitMs(t + 2);
        EXPECT_LE(due, t + RefreshOwed::kListGapMs) << t;
        written.take(due);
    }

    // Single changes apart, each after the gap: no burst, each shown at once.
    RefreshOwed apart;
    for (qint64 t = 0; t < 5000; t += 400) {
        apart.owe(L::ListOnly, t);
        EXPECT_EQ(apart.waitMs(t), 0) << t;
        apart.take(t);
    }
}

} // namespace
