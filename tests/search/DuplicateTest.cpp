// The duplicate pass: groups of equal files and the rows the two lists show, files of equal
// size with other bytes, the same file twice, a file gone before it was read, and the
// groups against jdupes on a generated tree.

#include "SearchTree.h"

#include "platform/FileName.h"
#include "search/DuplicateJob.h"
#include "search/DuplicateRows.h"
#include "support/TempHome.h"

#include <QRandomGenerator>
#include <QStandardPaths>

#include <unistd.h>

namespace {

class DuplicateTest : public TempHomeTest {
protected:
    std::vector<QByteArray> files(const QList<QPair<QString, QByteArray>>& contents)
    {
        std::vector<QByteArray> paths;
        for (const auto& [name, bytes] : contents)
            paths.push_back(FileName::encode(makeFile(name, bytes)));
        return paths;
    }
    std::vector<std::vector<int>> groupsOf(std::vector<QByteArray> paths)
    {
        DuplicateJob job(std::move(paths));
        job.run();
        return job.groups();
    }
};

TEST(DuplicateRowsTest, ThreeEqualFilesGiveOneOriginalAndEachCopySeveralTimes)
{
    // A, B, C listed in that order (positions 0, 1, 2), X at 3 equal to nothing.
    const DuplicateRows rows = DuplicateRows::build({{0, 1, 2}}, 4);
    EXPECT_EQ(rows.originals, (std::vector<int>{2}));
    EXPECT_EQ(rows.duplicates, (std::vector<int>{1, 0, 2, 0, 2, 1}));
    // Two groups interleaved in the list: each group's last member is its original.
    const DuplicateRows two = DuplicateRows::build({{0, 2}, {1, 3}}, 4);
    EXPECT_EQ(two.originals, (std::vector<int>{3, 2}));
    EXPECT_EQ(two.duplicates, (std::vector<int>{1, 0, 3, 2}));
}

TEST(DuplicateRowsTest, ALargeGroupListsEachCopyOnce)
{
    std::vector<int> group;
    for (int i = 0; i <= DuplicateRows::kMaxRepeatedGroup; ++i)
        group.push_back(i);
    const DuplicateRows rows = DuplicateRows::build({group}, int(group.size()));
    EXPECT_EQ(rows.originals, (std::vector<int>{group.back()}));
    std::vector<int> others(group.rbegin() + 1, group.rend());
    EXPECT_EQ(rows.duplicates, others);
}

TEST_F(DuplicateTest, EqualBytesMakeAGroupAndEqualSizeAloneDoesNot)
{
    const QByteArray big = QByteArray(200 * 1024, 'z') + "tail";
    QByteArray bigOther = big;
    bigOther[150 * 1024] = 'y'; // same size and head, other bytes past the head
    const std::vector<QByteArray> paths = files({{QStringLiteral("a/A.txt"), "same bytes"},
                                                 {QStringLiteral("b/B.txt"), "same bytes"},
                                                 {QStringLiteral("c/C.txt"), "same bytes"},
                                                 {QStringLiteral("d.txt"), "SAME BYTES"},
                                                 {QStringLiteral("big1"), big},
                                                 {QStringLiteral("big2"), bigOther},
                                                 {QStringLiteral("big3"), big},
                                                 {QStringLiteral("big4"), bigOther}});
    EXPECT_EQ(groupsOf(paths), (std::vector<std::vector<int>>{{0, 1, 2}, {4, 6}, {5, 7}}));
}

TEST_F(DuplicateTest, ALargeBucketOfEqualHeadsIsSplitByTheWholeBytes)
{
    // More files of one size and head than a comparison alone settles; three kinds of tail.
    QList<QPair<QString, QByteArray>> contents;
    for (std::size_t i = 0; i < DuplicateJob::kWholeHashBucket + 4; ++i)
        contents.append({QStringLiteral("many/%1").arg(i), QByteArray(100 * 1024, 'h') + char('a' + i % 3)});
    const std::vector<std::vector<int>> groups = groupsOf(files(contents));
    EXPECT_EQ(groups, (std::vector<std::vector<int>>{{0, 3, 6, 9}, {1, 4, 7, 10}, {2, 5, 8, 11}}));
}

TEST_F(DuplicateTest, TheSameFileTwiceIsNotItsOwnDuplicate)
{
    std::vector<QByteArray> paths = files({{QStringLiteral("one.txt"), "only one"}});
    paths.push_back(paths.front());
    const QByteArray link = FileName::encode(home().root() + QStringLiteral("/hardlink.txt"));
    ASSERT_EQ(::link(paths.front().constData(), link.constData()), 0);
    paths.push_back(link);
    EXPECT_TRUE(groupsOf(paths).empty());
}

TEST_F(DuplicateTest, AFileGoneBeforeItIsReadIsReportedAndThePassGoesOn)
{
    std::vector<QByteArray> paths = files({{QStringLiteral("x1"), "equal"}, {QStringLiteral("x2"), "equal"},
                                           {QStringLiteral("x3"), "equal"}});
    ASSERT_EQ(::unlink(paths[1].constData()), 0);
    DuplicateJob job(paths);
    job.run();
    EXPECT_EQ(job.groups(), (std::vector<std::vector<int>>{{0, 2}}));
    EXPECT_EQ(job.unreadableFiles(), QStringList{FileName::decode(paths[1])});
    EXPECT_TRUE(job.succeeded());
}

// jdupes prints groups separated by blank lines; each group sorted, groups sorted.
QList<QList<QByteArray>> jdupesGroups(const QString& root)
{
    QProcess process;
    process.start(QStringLiteral("jdupes"), {QStringLiteral("-r"), QStringLiteral("-q"), root});
    process.waitForFinished(120000);
    QList<QList<QByteArray>> groups;
    QList<QByteArray> group;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty()) {
            if (!group.isEmpty()) {
                std::sort(group.begin(), group.end());
                groups << group;
            }
            group.clear();
        } else {
            group << line;
        }
    }
    std::sort(groups.begin(), groups.end());
    return groups;
}

TEST_F(DuplicateTest, GroupsAgreeWithJdupes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("jdupes")).isEmpty())
        GTEST_SKIP() << "jdupes is not installed";
    QRandomGenerator random(7);
    const QString root = home().root() + QStringLiteral("/dupes");
    for (int i = 0; i < 300; ++i) {
        // Sizes repeat often; a third of the files copy an earlier file's bytes.
        QByteArray bytes(int(random.bounded(1, 80)) * 1000, 'q');
        for (int k = 0; k < 8; ++k)
            bytes[int(random.bounded(0, int(bytes.size())))] = char(random.bounded(0, 256));
        if (i % 3 == 2)
            bytes = QByteArray(QStringLiteral("%1").arg(i / 30).toLatin1()).repeated(1000);
        makeFile(QStringLiteral("dupes/f%1/%2.bin").arg(i % 10).arg(i), bytes);
    }
    const SearchTree::Paths all = SearchTree::searched(root, QStringLiteral("*"));
    std::vector<QByteArray> paths(all.begin(), all.end());
    QList<QList<QByteArray>> ours;
    for (const std::vector<int>& group : groupsOf(paths)) {
        QList<QByteArray> members;
        for (int index : group)
            members << paths[std::size_t(index)];
        ours << members;
    }
    std::sort(ours.begin(), ours.end());
    EXPECT_EQ(ours.size(), 10);
    EXPECT_EQ(ours, jdupesGroups(root));
}

} // namespace
