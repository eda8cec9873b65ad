// The saved pair lists: read only when both files are there, line n pairing with line n,
// written whole through a temporary file, and a failure to write told, not hidden.
#include "sync/SyncPairLists.h"

#include "sync/SyncJob.h"

#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QFile>

class SyncPairListsTest : public TempHomeTest {};

TEST_F(SyncPairListsTest, LivesInTheDataFolderAndRoundTrips)
{
    const SyncPairLists lists;
    EXPECT_EQ(lists.folder(), home().dataHome() + QStringLiteral("/QuorVel/Folvane3"));
    EXPECT_TRUE(lists.load().empty());
    const std::vector<SyncPair> pairs{{"/a/left", "/a/right"}, {"/b/caf\xe9", "/b/other"}};
    QString error;
    ASSERT_TRUE(lists.save(pairs, &error)) << error.toStdString();
    EXPECT_EQ(ByteFiles::readFile(QFile::encodeName(lists.folder()) + "/FV3_SYNC1"), "/a/left\n/b/caf\xe9\n");
    EXPECT_EQ(ByteFiles::readFile(QFile::encodeName(lists.folder()) + "/FV3_SYNC2"), "/a/right\n/b/other\n");
    const std::vector<SyncPair> loaded = lists.load();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1].left, QByteArray("/b/caf\xe9"));
    EXPECT_EQ(loaded[1].right, QByteArray("/b/other"));
    // Only the two list files are there: no temporary file left behind.
    EXPECT_EQ(ByteFiles::namesIn(lists.folder()), (ByteFiles::Names{"FV3_SYNC1", "FV3_SYNC2"}));
}

TEST_F(SyncPairListsTest, OneFileAloneOrBrokenLinesGiveNoPair)
{
    const QString folder = makeFolder(QStringLiteral("lists"));
    makeFile(QStringLiteral("lists/FV3_SYNC1"), "/only/left\n");
    EXPECT_TRUE(SyncPairLists(folder).load().empty());
    // A line with a NUL byte drops its pair without shifting the pairs after it; CRLF is read.
    makeFile(QStringLiteral("lists/FV3_SYNC1"), QByteArray("/l1\r\n/l\0x\r\n/l3\r\n/l4", 20));
    makeFile(QStringLiteral("lists/FV3_SYNC2"), "/r1\n/r2\n/r3\n");
    const std::vector<SyncPair> pairs = SyncPairLists(folder).load();
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].left, QByteArray("/l1"));
    EXPECT_EQ(pairs[1].left, QByteArray("/l3"));
    EXPECT_EQ(pairs[1].right, QByteArray("/r3"));
}

TEST_F(SyncPairListsTest, AFolderThatCannotBeMadeIsReported)
{
    makeFile(QStringLiteral("blocker"), "a file where the folder should be");
    const SyncPairLists lists(home().root() + QStringLiteral("/blocker/lists"));
    QString error;
    EXPECT_FALSE(lists.save({{"/a", "/b"}}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("blocker/lists"))) << error.toStdString();
}
