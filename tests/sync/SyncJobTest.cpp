// The synchronisation run: both directions, "File must exist", mirrored folders, times kept
// so that a second run copies nothing, and no data lost on a failed write, a Stop, a link
// loop, a FIFO or a name that is a file on one side and a link on the other.
#include "sync/SyncJob.h"

#include "platform/PathText.h"
#include "platform/TransferFaults.h"
#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ByteFiles::namesIn;
using ByteFiles::readFile;

struct timespec at(time_t seconds, long nanoseconds = 0)
{
    return {seconds, nanoseconds};
}

class SyncJobTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_left = QFile::encodeName(makeFolder(QStringLiteral("L")));
        m_right = QFile::encodeName(makeFolder(QStringLiteral("R")));
    }
    void TearDown() override
    {
        TransferFaults::clear();
        TempHomeTest::TearDown();
    }

    // Writes side/relative (making its folders) with bytes and modification time.
    QByteArray put(const QByteArray& side, const QByteArray& relative, const QByteArray& bytes, struct timespec time,
                   mode_t mode = 0644)
    {
        const QByteArray path = side + '/' + relative;
        const qsizetype slash = relative.lastIndexOf('/');
        if (slash > 0)
            makeFolder(QFile::decodeName(path.left(side.size() + 1 + slash)).mid(home().root().size() + 1));
        ::unlink(path.constData());
        ByteFiles::writeFile(path, bytes);
        ::chmod(path.constData(), mode);
        const struct timespec times[2] = {time, time};
        ::utimensat(AT_FDCWD, path.constData(), times, 0);
        return path;
    }

    static struct stat statOf(const QByteArray& path)
    {
        struct stat st {};
        ::lstat(path.constData(), &st);
        return st;
    }

    SyncResult run(SyncOptions options, std::vector<SyncPair> pairs = {})
    {
        if (pairs.empty())
            pairs.push_back({m_left, m_right});
        m_job = std::make_unique<SyncJob>(std::move(pairs), options);
        m_job->run();
        return m_job->result();
    }

    QByteArray m_left;
    QByteArray m_right;
    std::unique_ptr<SyncJob> m_job;
};

SyncOptions recursive(bool mustExist = false)
{
    SyncOptions options;
    options.recurse = true;
    options.mustExist = mustExist;
    return options;
}

} // namespace

TEST_F(SyncJobTest, WorksInBothDirectionsAndKeepsTimesAndModes)
{
    put(m_left, "only-left.txt", "L", at(1000, 111));
    put(m_right, "only-right.txt", "R", at(2000, 222), 0600);
    put(m_left, "both.txt", "left newer", at(3000, 500000000));
    put(m_right, "both.txt", "right older", at(3000, 100000000)); // 0.4 s older: still older
    put(m_left, "back.txt", "left older", at(100));
    put(m_right, "back.txt", "right newer", at(200), 0751);
    put(m_left, "same.txt", "same", at(50));
    put(m_right, "same.txt", "same", at(50));

    const SyncResult result = run(SyncOptions());
    EXPECT_TRUE(m_job->succeeded()) << m_job->errorString().toStdString();
    EXPECT_EQ(result.filesUpdated, 4);
    EXPECT_EQ(result.foldersCreated, 0);
    EXPECT_EQ(readFile(m_right + "/only-left.txt"), "L");
    EXPECT_EQ(readFile(m_left + "/only-right.txt"), "R");
    EXPECT_EQ(readFile(m_right + "/both.txt"), "left newer");
    EXPECT_EQ(readFile(m_left + "/back.txt"), "right newer");
    const struct stat copied = statOf(m_left + "/only-right.txt");
    EXPECT_EQ(copied.st_mtim.tv_sec, 2000);
    EXPECT_EQ(copied.st_mtim.tv_nsec, 222);
    EXPECT_EQ(copied.st_mode & 07777, 0600u);
    EXPECT_EQ(statOf(m_left + "/back.txt").st_mode & 07777, 0751u);
    EXPECT_EQ(statOf(m_right + "/both.txt").st_mtim.tv_nsec, 500000000);
    // No temporary file is left anywhere.
    EXPECT_EQ(namesIn(m_left), (ByteFiles::Names{"back.txt", "both.txt", "only-left.txt", "only-right.txt", "same.txt"}));
    EXPECT_EQ(namesIn(m_right), namesIn(m_left));

    // The second run finds both sides equal: no ping-pong.
    const SyncResult again = run(SyncOptions());
    EXPECT_EQ(again.filesUpdated, 0);
    EXPECT_EQ(again.notUpdated, 0);
}

TEST_F(SyncJobTest, MirrorsSubfoldersBothWaysAndCountsThem)
{
    put(m_left, "a/b/deep.txt", "deep", at(10));
    put(m_right, "c/file.txt", "c", at(20));
    put(m_left, "shared/x.txt", "old", at(30));
    put(m_right, "shared/x.txt", "new", at(40));

    const SyncResult result = run(recursive());
    EXPECT_TRUE(m_job->succeeded());
    EXPECT_EQ(result.foldersCreated, 3); // R/a, R/a/b, L/c
    EXPECT_EQ(result.filesUpdated, 3);
    EXPECT_EQ(result.left.folders, 3);  // a, a/b, shared, counted before the run
    EXPECT_EQ(result.right.folders, 2); // c, shared
    EXPECT_EQ(readFile(m_right + "/a/b/deep.txt"), "deep");
    EXPECT_EQ(readFile(m_left + "/c/file.txt"), "c");
    EXPECT_EQ(readFile(m_left + "/shared/x.txt"), "new");

    const SyncResult again = run(recursive());
    EXPECT_EQ(again.foldersCreated, 0);
    EXPECT_EQ(again.filesUpdated, 0);
}

TEST_F(SyncJobTest, FileMustExistCreatesFoldersButNoFiles)
{
    put(m_left, "new.txt", "new", at(10));
    put(m_left, "sub/new-below.txt", "new", at(10));
    put(m_left, "both.txt", "newer", at(20));
    put(m_right, "both.txt", "older", at(10));

    const SyncResult result = run(recursive(true));
    EXPECT_EQ(result.foldersCreated, 1);
    EXPECT_EQ(result.filesUpdated, 1);
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"both.txt", "sub"}));
    EXPECT_TRUE(namesIn(m_right + "/sub").isEmpty());
    EXPECT_EQ(readFile(m_right + "/both.txt"), "newer");
}

TEST_F(SyncJobTest, WithoutSubfoldersOnlyTheTopFilesAreSynchronized)
{
    put(m_left, "top.txt", "top", at(10));
    put(m_left, "sub/below.txt", "below", at(10));
    const SyncResult result = run(SyncOptions());
    EXPECT_EQ(result.filesUpdated, 1);
    EXPECT_EQ(result.foldersCreated, 0);
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"top.txt"}));
}

TEST_F(SyncJobTest, PairsAreWorkedFromTheLastToTheFirst)
{
    // Pair 0 is L-M and pair 1 is M-R: worked last first, R never sees L's file in this run.
    const QByteArray middle = QFile::encodeName(makeFolder(QStringLiteral("M")));
    put(m_left, "from-left.txt", "x", at(10));
    const SyncResult result = run(SyncOptions(), {{m_left, middle}, {middle, m_right}});
    EXPECT_EQ(result.filesUpdated, 1);
    EXPECT_EQ(namesIn(middle), (ByteFiles::Names{"from-left.txt"}));
    EXPECT_TRUE(namesIn(m_right).isEmpty());
}

TEST_F(SyncJobTest, AFailedWriteLeavesTheOldTargetAndTheRunGoesOn)
{
    put(m_left, "a-big.bin", QByteArray(64 * 1024, 'n'), at(200));
    put(m_right, "a-big.bin", "the old contents", at(100));
    put(m_left, "b-small.txt", "", at(10)); // empty: the fault never reaches it
    TransferFaults faults;
    faults.failWriteAfter = 1000;
    faults.writeError = ENOSPC;
    TransferFaults::set(faults);

    const SyncResult result = run(SyncOptions());
    EXPECT_EQ(result.filesUpdated, 1);
    EXPECT_EQ(result.notUpdated, 1);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].path, m_left + "/a-big.bin");
    EXPECT_EQ(readFile(m_right + "/a-big.bin"), "the old contents");
    EXPECT_EQ(statOf(m_right + "/a-big.bin").st_mtim.tv_sec, 100);
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"a-big.bin", "b-small.txt"}));
}

TEST_F(SyncJobTest, StopInsideABigFileLeavesTheTargetAsItWas)
{
    put(m_left, "big.bin", QByteArray(40 << 20, 'b'), at(200));
    put(m_right, "big.bin", "old", at(100));
    TransferFaults faults;
    faults.afterChunk = [this](std::int64_t) { m_job->cancel(); };
    TransferFaults::set(faults);

    const SyncResult result = run(SyncOptions());
    EXPECT_TRUE(m_job->isCancelled());
    EXPECT_EQ(result.filesUpdated, 0);
    EXPECT_EQ(readFile(m_right + "/big.bin"), "old");
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"big.bin"}));
}

TEST_F(SyncJobTest, RefusesNestedPairsBeforeTouchingAnything)
{
    put(m_left, "file.txt", "x", at(10));
    const QByteArray inside = QFile::encodeName(makeFolder(QStringLiteral("L/inner")));
    const SyncResult result = run(recursive(), {{m_left, inside}});
    EXPECT_TRUE(m_job->refused());
    EXPECT_EQ(m_job->errorString(), SyncRules::nestedFolders());
    EXPECT_EQ(result.filesUpdated, 0);
    EXPECT_TRUE(namesIn(inside).isEmpty());
}

TEST_F(SyncJobTest, LinksAreCopiedAsLinksAndNeverWalked)
{
    ASSERT_EQ(::symlink(".", QByteArray(m_right + "/loop").constData()), 0);
    ASSERT_EQ(::symlink("/", QByteArray(m_right + "/root").constData()), 0);
    ASSERT_EQ(::mkdir(QByteArray(m_right + "/sub").constData(), 0755), 0);
    ASSERT_EQ(::symlink("..", QByteArray(m_right + "/sub/up").constData()), 0);

    const SyncResult result = run(recursive());
    EXPECT_TRUE(m_job->succeeded());
    EXPECT_EQ(result.filesUpdated, 3);
    EXPECT_EQ(result.foldersCreated, 1);
    char target[16] = {};
    ASSERT_EQ(::readlink(QByteArray(m_left + "/loop").constData(), target, sizeof target - 1), 1);
    EXPECT_STREQ(target, ".");
    EXPECT_TRUE(S_ISLNK(statOf(m_left + "/root").st_mode));
    EXPECT_TRUE(S_ISLNK(statOf(m_left + "/sub/up").st_mode));
    EXPECT_EQ(namesIn(m_left), (ByteFiles::Names{"loop", "root", "sub"}));
}

TEST_F(SyncJobTest, SpecialFilesAndKindClashesAreSkippedNeverOpened)
{
    ASSERT_EQ(::mkfifo(QByteArray(m_left + "/pipe").constData(), 0644), 0);
    put(m_left, "clash", "a file", at(300));
    ASSERT_EQ(::symlink("elsewhere", QByteArray(m_right + "/clash").constData()), 0);
    put(m_left, "dir-or-file", "a file", at(300));
    ASSERT_EQ(::mkdir(QByteArray(m_right + "/dir-or-file").constData(), 0755), 0);

    const SyncResult result = run(recursive());
    EXPECT_EQ(result.skipped, 3);
    EXPECT_EQ(result.filesUpdated, 0);
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"clash", "dir-or-file"}));
    EXPECT_TRUE(S_ISLNK(statOf(m_right + "/clash").st_mode));
    EXPECT_EQ(readFile(m_left + "/clash"), "a file");
}

TEST_F(SyncJobTest, NamesThatAreNotUtf8AreCopiedByTheirBytes)
{
    const QByteArray name("caf\xe9-\xff.txt");
    put(m_left, "sub/" + name, "bytes", at(10));
    const SyncResult result = run(recursive());
    EXPECT_EQ(result.filesUpdated, 1);
    EXPECT_EQ(namesIn(m_right + "/sub"), (ByteFiles::Names{name}));
    EXPECT_EQ(readFile(m_right + "/sub/" + name), "bytes");
}

TEST_F(SyncJobTest, AStagedReplacementNeverOverwritesATargetChangedMeanwhile)
{
    const QByteArray src = put(m_left, "f.txt", "newer copy", at(200));
    const QByteArray target = put(m_right, "f.txt", "compared", at(100));
    SyncCopier::Staged staged;
    QString error;
    ASSERT_EQ(SyncCopier::stage(src, target, SyncEntry::fromStat(statOf(target)), {}, &staged, &error),
              SyncCopier::Outcome::Done);
    EXPECT_TRUE(SyncCopier::isStagedName(PathText::nameOf(staged.temp)));
    put(m_right, "f.txt", "written by someone meanwhile", at(300));
    std::vector<SyncCopier::Outcome> outcomes;
    std::vector<QString> errors;
    SyncCopier::commit({staged}, &outcomes, &errors);
    EXPECT_EQ(outcomes, std::vector<SyncCopier::Outcome>{SyncCopier::Outcome::Changed});
    EXPECT_EQ(readFile(target), "written by someone meanwhile");
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"f.txt"}));
}

TEST_F(SyncJobTest, ACopyLeftStagedByAKilledRunIsNotTakenForAUserFile)
{
    put(m_left, ".f.txt.fvsync-Ab12Cd", "half of a copy", at(10));
    put(m_left, "f.txt", "real", at(10));
    const SyncResult result = run(SyncOptions());
    EXPECT_EQ(result.filesUpdated, 1);
    EXPECT_EQ(namesIn(m_right), (ByteFiles::Names{"f.txt"}));
}
