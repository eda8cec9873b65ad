// The inotify record reader and the pairing of the two halves of a rename: what the kernel's
// records become, with the time passed in.
#include "platform/linux/FolderEventPairer.h"
#include "platform/linux/InotifyRecords.h"
#include "platform/FileName.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>

namespace {

using Kind = FolderEvent::Kind;

struct Step {
    uint32_t mask;
    uint32_t cookie;
    const char* name;
    qint64 at = 0;
};

struct PairCase {
    const char* label;
    std::vector<Step> steps;
    qint64 takeAt;
    std::vector<FolderEvent> expected;
    bool stillWaiting = false;
};

FolderEvent ev(Kind kind, const char* path, const char* path2 = "", bool folder = false)
{
    return {kind, QString::fromUtf8(path), QString::fromUtf8(path2), folder};
}

class PairingTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(PairingTest, RecordsBecomeEvents)
{
    const PairCase& c = GetParam();
    FolderEventPairer pairer;
    for (const Step& step : c.steps)
        pairer.add({1, step.mask, step.cookie, QByteArray(step.name)}, QStringLiteral("/w"), step.at);
    const QList<FolderEvent> events = pairer.take(c.takeAt);
    ASSERT_EQ(size_t(events.size()), c.expected.size()) << c.label;
    for (size_t i = 0; i < c.expected.size(); ++i)
        EXPECT_EQ(events[qsizetype(i)], c.expected[i]) << c.label << " #" << i;
    EXPECT_EQ(pairer.nextExpiry() >= 0, c.stillWaiting) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PairingTest,
    ::testing::Values(
        PairCase{"create, write, attributes, delete",
                 {{IN_CREATE, 0, "a"}, {IN_CLOSE_WRITE, 0, "a"}, {IN_ATTRIB, 0, "a"}, {IN_DELETE, 0, "a"}},
                 0,
                 {ev(Kind::Created, "/w/a"), ev(Kind::Written, "/w/a"), ev(Kind::AttributesChanged, "/w/a"),
                  ev(Kind::Deleted, "/w/a")}},
        PairCase{"a folder made and removed",
                 {{IN_CREATE | IN_ISDIR, 0, "d"}, {IN_DELETE | IN_ISDIR, 0, "d"}},
                 0,
                 {ev(Kind::Created, "/w/d", "", true), ev(Kind::Deleted, "/w/d", "", true)}},
        PairCase{"both halves of a rename by cookie, another cookie between",
                 {{IN_MOVED_FROM, 7, "old"}, {IN_MOVED_FROM, 8, "x"}, {IN_MOVED_TO, 7, "new"}, {IN_MOVED_TO, 8, "y"}},
                 0,
                 {ev(Kind::Renamed, "/w/old", "/w/new"), ev(Kind::Renamed, "/w/x", "/w/y")}},
        PairCase{"a folder renamed",
                 {{IN_MOVED_FROM | IN_ISDIR, 3, "d1"}, {IN_MOVED_TO | IN_ISDIR, 3, "d2"}},
                 0,
                 {ev(Kind::Renamed, "/w/d1", "/w/d2", true)}},
        PairCase{"moved away to a folder not watched: waits, then a deletion",
                 {{IN_MOVED_FROM, 9, "gone", 100}},
                 100 + FolderEventPairer::kMoveWaitMs,
                 {ev(Kind::Deleted, "/w/gone")}},
        PairCase{"a waiting half holds back what came after it",
                 {{IN_MOVED_FROM, 9, "gone", 100}, {IN_CREATE, 0, "later", 101}},
                 105,
                 {},
                 true},
        PairCase{"moved in from a folder not watched: a creation",
                 {{IN_MOVED_TO, 4, "came"}},
                 0,
                 {ev(Kind::Created, "/w/came")}},
        PairCase{"the watched folder itself removed, moved, unmounted; its watch's end says nothing",
                 {{IN_DELETE_SELF, 0, ""}, {IN_MOVE_SELF, 0, ""}, {IN_UNMOUNT, 0, ""}, {IN_IGNORED, 0, ""}},
                 0,
                 {ev(Kind::FolderGone, "/w", "", true), ev(Kind::FolderGone, "/w", "", true),
                  ev(Kind::Unmounted, "/w", "", true)}},
        PairCase{"queue overflow", {{IN_Q_OVERFLOW, 0, ""}}, 0, {FolderEvent{Kind::Overflow, {}, {}, false}}}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(FolderEventPairerTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    FolderEventPairer pairer;
    pairer.add({1, IN_CREATE, 0, QByteArray("caf\xe9.txt")}, QStringLiteral("/w"), 0);
    const QList<FolderEvent> events = pairer.take(0);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(FileName::encode(events[0].path), QByteArray("/w/caf\xe9.txt"));
}

TEST(FolderEventPairerTest, EventsBecomeTheNoticesOfTheBus)
{
    struct Case {
        FolderEvent event;
        ChangeEvent notice;
        const char* path;
    };
    const Case cases[] = {
        {ev(Kind::Created, "/w/a"), ChangeEvent::Create, "/w/a"},
        {ev(Kind::Created, "/w/d", "", true), ChangeEvent::MakeFolder, "/w/d"},
        {ev(Kind::Deleted, "/w/d", "", true), ChangeEvent::RemoveFolder, "/w/d"},
        {ev(Kind::Renamed, "/w/a", "/w/b"), ChangeEvent::RenameItem, "/w/a"},
        {ev(Kind::Renamed, "/w/a", "/w/b", true), ChangeEvent::RenameFolder, "/w/a"},
        {ev(Kind::Written, "/w/a"), ChangeEvent::UpdateItem, "/w/a"},
        {ev(Kind::FolderGone, "/w", "", true), ChangeEvent::RemoveFolder, "/w"},
        {ev(Kind::Unmounted, "/w", "", true), ChangeEvent::MediaRemove, "/w"},
        {ev(Kind::Polled, "/w", "", true), ChangeEvent::UpdateDir, "/w"},
        {FolderEvent{Kind::Overflow, {}, {}, false}, ChangeEvent::UpdateDir, "/"},
    };
    for (const Case& c : cases) {
        const ChangeNotice notice = c.event.toNotice();
        EXPECT_EQ(notice.event, c.notice) << FolderEvent::kindName(c.event.kind);
        EXPECT_EQ(notice.path, QString::fromUtf8(c.path));
    }
}

TEST(InotifyRecordsTest, WholeRecordsAreReadAndACutOneIsLeft)
{
    const QByteArray one = InotifyRecords::encode({3, IN_CREATE, 0, "first"});
    const QByteArray two = InotifyRecords::encode({4, IN_MOVED_TO, 77, "second-name-longer-than-16"});
    const QByteArray folder = InotifyRecords::encode({5, IN_DELETE_SELF, 0, {}});
    const QByteArray all = one + two + folder;

    qsizetype consumed = -1;
    const QList<InotifyRecord> records = InotifyRecords::parse(all, &consumed);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(consumed, all.size());
    EXPECT_EQ(records[0].name, "first");
    EXPECT_EQ(records[1].cookie, 77u);
    EXPECT_EQ(records[1].name, "second-name-longer-than-16");
    EXPECT_TRUE(records[2].name.isEmpty());

    // Cut inside the second record's name, and inside its header.
    for (qsizetype cut : {one.size() + 20, one.size() + 5}) {
        const QList<InotifyRecord> part = InotifyRecords::parse(all.left(cut), &consumed);
        EXPECT_EQ(part.size(), 1) << cut;
        EXPECT_EQ(consumed, one.size()) << cut;
    }
    // A length field far past the end.
    QByteArray lying = one;
    lying[12] = char(0xff);
    lying[13] = char(0xff);
    EXPECT_TRUE(InotifyRecords::parse(lying, &consumed).isEmpty());
    EXPECT_EQ(consumed, 0);
}

} // namespace
