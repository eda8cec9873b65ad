// The Zip Fix batch as the window runs it: archives collected from a selection, repaired
// through the batch loop into "<name>_reclaimed.zip", never over an existing file, with the
// report lines and summary in the progress labels, checked against the originals with
// unzip; and a failure that ends the batch saying what failed.
#include "ZipTestTools.h"
#include "archive/TFolZipFix.h"
#include "archive/tools/ZipFixBranch.h"
#include "archive/tools/ZipWorkList.h"
#include "fileops/BatchLoop.h"
#include "fileops/WorkList.h"
#include "platform/FileName.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class ZipFixBatchTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ZipFixBranch::registerBranch();
        m_target = makeFolder(QStringLiteral("out"));
        m_options.target = m_target + QLatin1Char('/');
    }

    // An archive made by Info-ZIP's zip of a small tree, at folder/name.
    QString archive(const QString& folder, const QString& name)
    {
        const QString tree = makeFolder(folder + QStringLiteral("/tree-") + name);
        makeFile(folder + QStringLiteral("/tree-") + name + QStringLiteral("/a.txt"), QByteArray("some text\n").repeated(50));
        makeFile(folder + QStringLiteral("/tree-") + name + QStringLiteral("/sub/b.bin"), QByteArray(3000, '\x07'));
        makeFile(folder + QStringLiteral("/tree-") + name + QStringLiteral("/sub/c.txt"), "c");
        const QString path = QDir(tree).absoluteFilePath(QStringLiteral("../") + name);
        EXPECT_EQ(runTool(QStringLiteral("zip"), {QStringLiteral("-qr"), QDir::cleanPath(path), QStringLiteral(".")}, tree).exitCode, 0);
        return QDir::cleanPath(path);
    }

    BatchLabels run(const QStringList& work)
    {
        BatchLoop loop(opZipFix, work, m_options);
        loop.run();
        m_end = loop.end();
        return loop.labels();
    }

    QStringList targetNames() const { return QDir(m_target).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QString inTarget(const QString& name) const { return m_target + QLatin1Char('/') + name; }

    QString m_target;
    ConfirmResults m_options;
    BatchEnd m_end = BatchEnd::Failed;
};

QByteArray listing(const QString& zip)
{
    return runTool(QStringLiteral("unzip"), {QStringLiteral("-Z1"), zip}).output;
}

TEST(ZipFixNames, TargetNames)
{
    struct Case {
        const char* archive;
        int number;
        const char* target;
    };
    const Case cases[] = {
        {"/a/backup.zip", 1, "backup_reclaimed.zip"},
        {"/a/backup.zip", 2, "backup_reclaimed(2).zip"},
        {"/a/my.old.ZIP", 1, "my.old_reclaimed.zip"},
        {"/a/.zip", 3, "_reclaimed(3).zip"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZipFixBranch::targetName(QString::fromUtf8(c.archive), c.number), QString::fromUtf8(c.target)) << c.archive;
}

TEST_F(ZipFixBatchTest, SelectionYieldsTheArchivesBelowFolders)
{
    const QString top = archive(QStringLiteral("sel"), QStringLiteral("top.ZIP"));
    const QString deep = archive(QStringLiteral("sel/sub"), QStringLiteral("deep.zip"));
    archive(QStringLiteral("sel/.hidden"), QStringLiteral("skipped.zip"));
    const QString text = makeFile(QStringLiteral("sel/notes.txt"));
    const QString single = archive(QStringLiteral("one"), QStringLiteral("single.zip"));
    QList<ListEntry> rows(3);
    rows[0].fullPath = home().root() + QStringLiteral("/sel");
    rows[1].fullPath = single;
    rows[2].fullPath = text;
    for (ListEntry& row : rows)
        row.selected = true;
    const QStringList zips = ZipWorkList::zipFiles(CollectSelectedFiles(rows, false));
    EXPECT_EQ(zips, (QStringList{top, deep, single}));
}

TEST_F(ZipFixBatchTest, RepairsEveryArchiveAndNeverReplaces)
{
    const QString first = archive(QStringLiteral("a"), QStringLiteral("data.zip"));
    const QString second = archive(QStringLiteral("b"), QStringLiteral("data.zip"));
    // A damaged copy: the central directory and the end of the last entry cut off.
    QFile cut(second);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    const QByteArray whole = cut.readAll();
    const qsizetype lastEntry = whole.lastIndexOf(QByteArray("PK\x03\x04", 4));
    ASSERT_TRUE(cut.resize(lastEntry + 40));
    cut.close();
    makeFile(QStringLiteral("out/data_reclaimed.zip"), "an earlier repair");

    const BatchLabels labels = run({first, second});
    EXPECT_EQ(m_end, BatchEnd::Done);
    EXPECT_EQ(targetNames(), (QStringList{QStringLiteral("data_reclaimed(2).zip"), QStringLiteral("data_reclaimed(3).zip"),
                                          QStringLiteral("data_reclaimed.zip")}));
    QFile kept(inTarget(QStringLiteral("data_reclaimed.zip")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "an earlier repair");

    // The intact archive comes back entry for entry; the cut one without its last entry.
    const QString whole2 = inTarget(QStringLiteral("data_reclaimed(2).zip"));
    const QString part3 = inTarget(QStringLiteral("data_reclaimed(3).zip"));
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), whole2}).exitCode, 0);
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), part3}).exitCode, 0);
    EXPECT_EQ(listing(whole2), listing(first));
    const QList<QByteArray> original = listing(first).split('\n');
    const QList<QByteArray> salvaged = listing(part3).split('\n');
    EXPECT_EQ(salvaged.size(), original.size() - 1);
    const QString extractedA = makeFolder(QStringLiteral("xa"));
    const QString extractedB = makeFolder(QStringLiteral("xb"));
    runTool(QStringLiteral("unzip"), {QStringLiteral("-q"), first, QStringLiteral("-d"), extractedA});
    runTool(QStringLiteral("unzip"), {QStringLiteral("-q"), whole2, QStringLiteral("-d"), extractedB});
    EXPECT_EQ(treeContents(extractedA), treeContents(extractedB));

    const int entries = int(original.size()) - 1; // the listing ends with a line break
    EXPECT_EQ(labels.progressText, QStringLiteral("reclaimed %1 out of %2 files.").arg(entries - 1).arg(entries));
    EXPECT_EQ(labels.listNames, QStringLiteral("2 of 2 data.zip"));
}

TEST_F(ZipFixBatchTest, NoHeaderGivesAnEmptyTarget)
{
    const QString junk = makeFile(QStringLiteral("j/junk.zip"), QByteArray(1000, 'x'));
    const BatchLabels labels = run({junk});
    EXPECT_EQ(m_end, BatchEnd::Done);
    EXPECT_EQ(labels.progressText, QStringLiteral("reclaimed 0 out of 0 files."));
    EXPECT_EQ(targetNames(), QStringList{QStringLiteral("junk_reclaimed.zip")});
    EXPECT_EQ(QFileInfo(inTarget(QStringLiteral("junk_reclaimed.zip"))).size(), 0);
}

TEST_F(ZipFixBatchTest, AFailureEndsTheBatchAndSaysWhatFailed)
{
    const QString good = archive(QStringLiteral("g"), QStringLiteral("good.zip"));
    const QString missing = home().root() + QStringLiteral("/gone.zip");
    run({missing, good});
    EXPECT_EQ(m_end, BatchEnd::Failed);
    EXPECT_TRUE(ZipFixBranch::failure().startsWith(QStringLiteral("Zip Fix stopped at ") + missing + QStringLiteral(":\r\n")))
        << qPrintable(ZipFixBranch::failure());
    EXPECT_TRUE(targetNames().isEmpty()); // nothing half-made, no temporary file

    // A target folder that cannot take files (a regular file in its place, as root too).
    m_options.target = makeFile(QStringLiteral("blocked")) + QLatin1Char('/');
    run({good});
    EXPECT_EQ(m_end, BatchEnd::Failed);
    EXPECT_TRUE(ZipFixBranch::failure().contains(good)) << qPrintable(ZipFixBranch::failure());
    m_options.target = m_target;
    run({good});
    EXPECT_EQ(m_end, BatchEnd::Done);
    EXPECT_TRUE(ZipFixBranch::failure().isEmpty());
}

TEST_F(ZipFixBatchTest, CancelDuringARepairLeavesNothing)
{
    const QString good = archive(QStringLiteral("c"), QStringLiteral("big.zip"));
    int runs = 0;
    // Cancel once the archive's turn has come: the repair itself must stop.
    BatchBranch branch = *BatchBranches::find(opZipFix);
    BatchBranch cancelling = branch;
    cancelling.run = [&](const BatchItem& item, const QString& name) {
        item.loop->cancel();
        ++runs;
        return branch.run(item, name);
    };
    BatchBranches::set(opZipFix, cancelling);
    BatchLoop cancelled(opZipFix, {good}, m_options);
    cancelled.run();
    BatchBranches::set(opZipFix, branch);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(cancelled.end(), BatchEnd::Cancelled);
    EXPECT_TRUE(targetNames().isEmpty());
}

} // namespace
