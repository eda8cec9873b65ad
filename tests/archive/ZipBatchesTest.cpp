// The window's Zip, Unzip and Zip to EXE batches as the batch loop runs them: the
// confirmation dialog's options onto the engine, archives checked with unzip and 7z, the
// password and overwrite questions with their exact texts, the archive never added to
// itself, a cancelled zip that leaves the old archive alone, and self-extracting programs
// that run.
#include "ZipTestTools.h"
#include "archive/tools/ZipBatchFailure.h"
#include "archive/tools/ZipBatchKit.h"
#include "archive/tools/ZipBranches.h"
#include "archive/tools/ZipQuestions.h"
#include "archive/tools/ZipToExeBranch.h"
#include "fileops/BatchLoop.h"
#include "fileops/WorkList.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class ZipBatchesTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        RegisterZipBranches();
        ZipQuestions::forgetPasswords();
        ZipQuestions::setPasswordDialog({});
        ZipToExeBranch::setStubFolder(stubPath(QString()));
        ZipToExeBranch::setSmallStub(true);
    }

    BatchLabels run(OperationCode code, const QStringList& work)
    {
        BatchLoop loop(code, work, m_options);
        loop.run();
        m_end = loop.end();
        return loop.labels();
    }

    // Every file below paths, as the window collects a selection.
    QStringList collected(const QStringList& paths)
    {
        QList<ListEntry> rows;
        for (const QString& path : paths)
            rows << ListEntry{path, QString(), QString(), QString(), true, false};
        return CollectSelectedFiles(rows, false);
    }

    // An archive made by Info-ZIP's zip of files (name -> bytes) at path.
    QString peerArchive(const QString& path, const QMap<QString, QByteArray>& files, const QString& password = QString())
    {
        const QString source = makeFolder(QStringLiteral("peer-") + QFileInfo(path).completeBaseName() + QString::number(++m_peers));
        QStringList args{QStringLiteral("-qr")};
        if (!password.isEmpty())
            args << QStringLiteral("-P") << password;
        args << path << files.keys(); // in the order of their names
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            makeFile(source.mid(home().root().size() + 1) + QLatin1Char('/') + it.key(), it.value());
        EXPECT_EQ(runTool(QStringLiteral("zip"), args, source).exitCode, 0);
        return path;
    }

    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    ConfirmResults m_options;
    BatchEnd m_end = BatchEnd::Failed;
    int m_peers = 0;
};

TEST(ZipOptionMapping, DialogChoicesReachTheEngineAndComeBack)
{
    struct Case {
        const char* what;
        int compression, deflation;
        ZipCompressionMethod method;
        ZipDeflation level;
    };
    const Case cases[] = {
        {"Best, Normal is the engine's maximum", 0, 0, ZipCompressionMethod::Best, ZipDeflation::Maximum},
        {"Deflate, Maximum is the engine's normal", 1, 1, ZipCompressionMethod::Deflated, ZipDeflation::Normal},
        {"Stored, Fast", 2, 2, ZipCompressionMethod::Stored, ZipDeflation::Fast},
        {"Super Fast", 0, 3, ZipCompressionMethod::Best, ZipDeflation::SuperFast},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZipOptions o;
        o.compression = c.compression;
        o.deflation = c.deflation;
        o.stripPath = o.recurse = o.replace = true;
        o.dosMode = true;
        o.spanThreshold = 65536;
        o.password = QStringLiteral("pw");
        o.createFolders = false;
        TAbZipKit kit;
        kit.StoreOptions = ZipStoreOption::Freshen | ZipStoreOption::StripDrive; // rebuilt from empty
        ApplyZipOptions(o, kit);
        EXPECT_EQ(kit.CompressionMethodToUse, c.method);
        EXPECT_EQ(kit.DeflationOption, c.level);
        EXPECT_EQ(kit.StoreOptions, ZipStoreOption::StripPath | ZipStoreOption::Recurse | ZipStoreOption::Replace);
        EXPECT_EQ(kit.ExtractOptions, ZipExtractOptions(ZipExtractOption::RestorePath));
        EXPECT_TRUE(kit.DOSMode);
        EXPECT_EQ(kit.SpanningThreshold, 65536u);
        EXPECT_EQ(kit.Password, QStringLiteral("pw"));
        const ZipOptions back = ZipOptionsOf(kit);
        EXPECT_EQ(back.compression, c.compression);
        EXPECT_EQ(back.deflation, c.deflation);
        EXPECT_TRUE(back.stripPath && back.recurse && back.replace && !back.freshen && !back.stripDrive);
        EXPECT_FALSE(back.createFolders);
        EXPECT_TRUE(back.restorePath);
    }
}

TEST_F(ZipBatchesTest, ZipAFolderAndUnzipItBack)
{
    const QString tree = home().root() + QStringLiteral("/Photos");
    makeSampleTree(tree);
    // The window zips the files it collects; a folder with no file in it is not one of them.
    QDir(tree + QStringLiteral("/sub/empty")).removeRecursively();
    const QString archive = home().root() + QStringLiteral("/Photos.ZIP");
    m_options.target = archive;
    const BatchLabels zipped = run(opZip, collected({tree}));
    ASSERT_EQ(m_end, BatchEnd::Done) << qPrintable(ZipBatchFailure::text());
    EXPECT_EQ(zipped.progressText, QStringLiteral("Saving..."));
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive}).exitCode, 0);
    EXPECT_EQ(runTool(QStringLiteral("7z"), {QStringLiteral("t"), archive}).exitCode, 0);
    // Names are stored below the archive's folder: the folder's own name leads them.
    EXPECT_TRUE(runTool(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive}).output.contains("Photos/sub/noise.bin"));

    m_options.target = makeFolder(QStringLiteral("out")) + QLatin1Char('/');
    const BatchLabels unzipped = run(opUnzip, {archive});
    ASSERT_EQ(m_end, BatchEnd::Done) << qPrintable(ZipBatchFailure::text());
    EXPECT_EQ(unzipped.listNames, QStringLiteral("1 of 1 Photos.ZIP"));
    EXPECT_EQ(treeContents(home().root() + QStringLiteral("/out/Photos")), treeContents(tree));
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(ZipBatchesTest, TheArchiveIsNeverAddedToItselfAndKeepsWhatItHad)
{
    const QString folder = makeFolder(QStringLiteral("data"));
    makeFile(QStringLiteral("data/a.txt"), "aaa");
    const QString archive = peerArchive(folder + QStringLiteral("/inside.zip"), {{QStringLiteral("old.txt"), "old"}});
    m_options.target = archive;
    run(opZip, collected({folder}));
    ASSERT_EQ(m_end, BatchEnd::Done) << qPrintable(ZipBatchFailure::text());
    const QByteArray names = runTool(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive}).output;
    EXPECT_EQ(names, "old.txt\na.txt\n");
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive}).exitCode, 0);
}

TEST_F(ZipBatchesTest, CancelledOrFailedZipLeavesTheOldArchive)
{
    const QString folder = makeFolder(QStringLiteral("c"));
    makeSampleTree(folder);
    const QString archive = peerArchive(home().root() + QStringLiteral("/keep.zip"), {{QStringLiteral("k.txt"), "keep"}});
    const QByteArray before = bytesOf(archive);
    m_options.target = archive;
    const BatchBranch branch = *BatchBranches::find(opZip);
    BatchBranch cancelling = branch;
    cancelling.run = [&](const BatchItem& item, const QString& name) {
        const BatchItemResult result = branch.run(item, name);
        if (item.index == 1)
            item.loop->cancel();
        return result;
    };
    BatchBranches::set(opZip, cancelling);
    run(opZip, collected({folder}));
    BatchBranches::set(opZip, branch);
    EXPECT_EQ(m_end, BatchEnd::Cancelled);
    EXPECT_EQ(bytesOf(archive), before);

    // A damaged archive to add to ends the batch, says so and stays as it was.
    const QString damaged = makeFile(QStringLiteral("bad.zip"), "PK\x03\x04 this is no archive");
    m_options.target = damaged;
    run(opZip, collected({folder}));
    EXPECT_EQ(m_end, BatchEnd::Failed);
    EXPECT_TRUE(ZipBatchFailure::text().startsWith(QStringLiteral("Zip stopped at ") + damaged)) << qPrintable(ZipBatchFailure::text());
    EXPECT_EQ(bytesOf(damaged), QByteArray("PK\x03\x04 this is no archive"));
    EXPECT_EQ(QDir(home().root()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".fv")), QStringList());
}

TEST_F(ZipBatchesTest, UnzipSkipsACopyOfTheArchiveInsideIt)
{
    const QString archive = peerArchive(home().root() + QStringLiteral("/self.zip"),
                                        {{QStringLiteral("self.zip"), "not the archive"}, {QStringLiteral("a.txt"), "a"}});
    m_options.target = makeFolder(QStringLiteral("x"));
    run(opUnzip, {archive});
    ASSERT_EQ(m_end, BatchEnd::Done) << qPrintable(ZipBatchFailure::text());
    EXPECT_EQ(listTree(m_options.target), QStringList{QStringLiteral("a.txt")});
}

TEST_F(ZipBatchesTest, OnePasswordForTheRunWhenTheUserSaysSo)
{
    const QString first = peerArchive(home().root() + QStringLiteral("/one.zip"), {{QStringLiteral("1.txt"), "one"}}, QStringLiteral("secret"));
    const QString second = peerArchive(home().root() + QStringLiteral("/two.zip"), {{QStringLiteral("2.txt"), "two"}}, QStringLiteral("secret"));
    m_options.target = makeFolder(QStringLiteral("p"));
    prompter().answer(PromptButton::Yes).answerText(QStringLiteral("secret"));
    run(opUnzip, {first, second});
    ASSERT_EQ(m_end, BatchEnd::Done) << qPrintable(ZipBatchFailure::text());
    EXPECT_EQ(prompter().texts(), (QStringList{QStringLiteral("Do you want to use same password for each file??"), QStringLiteral("&Password:")}));
    EXPECT_EQ(prompter().last().caption, QStringLiteral("Enter Password"));
    EXPECT_EQ(bytesOf(m_options.target + QStringLiteral("/2.txt")), "two");
    EXPECT_EQ(ZipQuestions::savedPassword(), QStringLiteral("secret"));

    // A later batch of the same run asks nothing either.
    const QString again = makeFolder(QStringLiteral("p2"));
    m_options.target = again;
    run(opUnzip, {first});
    EXPECT_EQ(bytesOf(again + QStringLiteral("/1.txt")), "one");
    EXPECT_EQ(prompter().records().size(), 2);
}

TEST_F(ZipBatchesTest, AWrongPasswordEndsTheBatchSayingWhy)
{
    const QString locked = peerArchive(home().root() + QStringLiteral("/l.zip"), {{QStringLiteral("l.txt"), "l"}}, QStringLiteral("right"));
    m_options.target = makeFolder(QStringLiteral("w"));
    prompter().answer(PromptButton::No).answerText(std::nullopt); // Cancel in "Enter Password"
    run(opUnzip, {locked});
    EXPECT_EQ(m_end, BatchEnd::Failed);
    EXPECT_TRUE(ZipBatchFailure::text().contains(QStringLiteral("l.txt"))) << qPrintable(ZipBatchFailure::text());
    EXPECT_TRUE(listTree(m_options.target).isEmpty());
}

TEST_F(ZipBatchesTest, YesToAllHoldsForTheFollowingArchives)
{
    const QString first = peerArchive(home().root() + QStringLiteral("/1.zip"), {{QStringLiteral("a.txt"), "new a"}, {QStringLiteral("b.txt"), "new b"}});
    const QString second = peerArchive(home().root() + QStringLiteral("/2.zip"), {{QStringLiteral("c.txt"), "new c"}});
    m_options.target = makeFolder(QStringLiteral("o"));
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        makeFile(QStringLiteral("o/") + QLatin1String(name), "old");
    prompter().answer(PromptButton::No).answer(PromptButton::YesToAll);
    run(opUnzip, {first, second});
    ASSERT_EQ(m_end, BatchEnd::Done) << qPrintable(ZipBatchFailure::text());
    EXPECT_EQ(prompter().texts(), (QStringList{QStringLiteral("a.txt exists, overwrite?"), QStringLiteral("b.txt exists, overwrite?")}));
    EXPECT_EQ(prompter().last().buttons, PromptButton::Yes | PromptButton::No | PromptButton::YesToAll);
    EXPECT_EQ(bytesOf(m_options.target + QStringLiteral("/a.txt")), "old");
    EXPECT_EQ(bytesOf(m_options.target + QStringLiteral("/b.txt")), "new b");
    EXPECT_EQ(bytesOf(m_options.target + QStringLiteral("/c.txt")), "new c");

    // "Warn Overwrite" off: replaced without a question.
    m_options.warnOverwrite = false;
    makeFile(QStringLiteral("o/a.txt"), "old");
    run(opUnzip, {first});
    EXPECT_EQ(bytesOf(m_options.target + QStringLiteral("/a.txt")), "new a");
    EXPECT_EQ(prompter().records().size(), 2);
}

TEST_F(ZipBatchesTest, ZipToExeMakesProgramsThatRunAndReportsFailures)
{
    const QString tree = home().root() + QStringLiteral("/t/tree");
    makeSampleTree(tree);
    const QString archive = home().root() + QStringLiteral("/t/setup.zip");
    ASSERT_EQ(runTool(QStringLiteral("zip"), {QStringLiteral("-qr"), archive, QStringLiteral("tree")}, home().root() + QStringLiteral("/t")).exitCode, 0);
    const QString broken = makeFile(QStringLiteral("t/broken.zip"), "no archive");
    m_options.target = makeFolder(QStringLiteral("exe"));
    const BatchLabels labels = run(opZipToExe, {broken, archive});
    EXPECT_EQ(m_end, BatchEnd::Done);
    const QString program = m_options.target + QStringLiteral("/setup.exe");
    EXPECT_EQ(listTree(m_options.target), QStringList{QStringLiteral("setup.exe")});
    EXPECT_TRUE(ZipBatchFailure::text().startsWith(QStringLiteral("ERROR on ") + broken + QStringLiteral(": "))) << qPrintable(ZipBatchFailure::text());
    const QString runHere = makeFolder(QStringLiteral("run"));
    const ToolRun extracted = runTool(program, {}, runHere);
    EXPECT_EQ(extracted.exitCode, 0) << extracted.output.constData();
    EXPECT_EQ(treeContents(runHere + QStringLiteral("/tree")), treeContents(tree));
    EXPECT_EQ(labels.listNames, QStringLiteral("2 of 2 setup.zip"));

    // An existing program is replaced only after Yes; a missing stub fails each archive.
    prompter().answer(PromptButton::No);
    const QByteArray made = bytesOf(program);
    run(opZipToExe, {archive});
    EXPECT_EQ(prompter().texts(), QStringList{program + QStringLiteral(" exists, overwrite?")});
    EXPECT_EQ(bytesOf(program), made);
    ZipToExeBranch::setStubFolder(makeFolder(QStringLiteral("nostubs")));
    const QString other = makeFolder(QStringLiteral("exe2"));
    m_options.target = other;
    const BatchLabels missing = run(opZipToExe, {archive});
    EXPECT_EQ(missing.itemText, QStringLiteral("ERROR on ") + archive);
    EXPECT_TRUE(listTree(other).isEmpty());
}

TEST_F(ZipBatchesTest, FvtoolRunsTheSameBatches)
{
    const QString tree = home().root() + QStringLiteral("/cli/tree");
    makeSampleTree(tree);
    QDir(tree + QStringLiteral("/sub/empty")).removeRecursively();
    const QString archive = home().root() + QStringLiteral("/cli/t.zip");
    const ToolRun zipped = runTool(fvtoolPath(), {QStringLiteral("zipbatch"), QStringLiteral("zip"), QStringLiteral("--target"), archive, tree});
    EXPECT_EQ(zipped.exitCode, 0) << zipped.output.constData();
    EXPECT_EQ(runTool(QStringLiteral("7z"), {QStringLiteral("t"), archive}).exitCode, 0);
    const QString out = makeFolder(QStringLiteral("cli/out"));
    const QStringList unzip{QStringLiteral("zipbatch"), QStringLiteral("unzip"), QStringLiteral("--target"), out, archive};
    EXPECT_EQ(runTool(fvtoolPath(), unzip).exitCode, 0);
    EXPECT_EQ(treeContents(out + QStringLiteral("/tree")), treeContents(tree));
    // A second run meets every file: without --yes each is kept and named.
    const ToolRun again = runTool(fvtoolPath(), unzip);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.output.contains("kept: text.txt exists, overwrite?")) << again.output.constData();
    const ToolRun fixed = runTool(fvtoolPath(), {QStringLiteral("zipbatch"), QStringLiteral("fix"), QStringLiteral("--target"), out, archive});
    EXPECT_TRUE(fixed.output.contains("reclaimed 4 out of 4 files.")) << fixed.output.constData();
}

} // namespace
