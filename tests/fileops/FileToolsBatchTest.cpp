// The file tools' branches run by the batch loop on real files: new names, name clashes
// that must lose nothing, renumbering onto names still to come, grouping, names that are
// not UTF-8, and the outcomes of search and replace against the rename(1) tool.
#include "fileops/BatchLoop.h"
#include "fileops/WorkList.h"
#include "fileops/tools/FileToolBranches.h"
#include "platform/FileName.h"
#include "platform/Trash.h"

#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using ByteFiles::Names;
using ByteFiles::namesIn;
using ByteFiles::readFile;
using ByteFiles::writeFile;

class FileToolsBatchTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        FileToolBranches::registerAll();
        m_folder = makeFolder(QStringLiteral("work"));
        m_options.target = m_folder + QLatin1Char('/');
    }

    // Makes name in the work folder holding its own name as bytes; returns its path.
    QString file(const QByteArray& name, const QString& folder = QString())
    {
        const QByteArray path = QByteArray(FileName::encode(folder.isEmpty() ? m_folder : folder) + '/' + name);
        writeFile(path, name);
        return FileName::decode(path);
    }

    BatchLabels run(OperationCode code, const QStringList& work)
    {
        BatchLoop loop(code, work, m_options);
        loop.run();
        EXPECT_TRUE(loop.isFinished());
        m_end = loop.end();
        return loop.labels();
    }

    Names names() { return namesIn(m_folder); }
    QString pathOf(const QByteArray& name) { return FileName::decode(QByteArray(FileName::encode(m_folder) + '/' + name)); }
    QByteArray bytesOf(const QByteArray& name) { return readFile(FileName::encode(m_folder) + '/' + name); }

    QString m_folder;
    ConfirmResults m_options;
    BatchEnd m_end = BatchEnd::Failed;
};

TEST_F(FileToolsBatchTest, ChangeExtensionNeverReplaces)
{
    const QString a = file("a.txt");
    file("a.bak");
    const QString b = file("b.txt");
    const QString noExt = file("README");
    m_options.newExtension = QStringLiteral("bak");
    const BatchLabels labels = run(opChangeExtension, {a, b, noExt});
    EXPECT_EQ(m_end, BatchEnd::Done);
    EXPECT_EQ(labels.itemText, QStringLiteral("ERROR on a.txt"));
    EXPECT_EQ(names(), (Names{"README.bak", "a.bak", "a.txt", "b.bak"}));
    EXPECT_EQ(bytesOf("a.bak"), "a.bak");
    EXPECT_EQ(bytesOf("a.txt"), "a.txt");
}

TEST_F(FileToolsBatchTest, EntriesBelowFoldersMoveIntoTheTarget)
{
    const QString sub = makeFolder(QStringLiteral("work/sub"));
    const QString inner = file("inner.txt", sub);
    m_options.firstText = QStringLiteral("new-");
    run(opAppendFiles, {inner});
    EXPECT_EQ(names(), (Names{"new-inner.txt", "sub"}));
    EXPECT_TRUE(namesIn(sub).isEmpty());
}

// Typed text that would lead out of the target folder, or to no name, is refused.
TEST_F(FileToolsBatchTest, NewNamesThatAreNotOneNameAreRefused)
{
    const struct {
        OperationCode code;
        const char* first;
        const char* second;
    } cases[] = {
        {opAppendFiles, "../", ""},
        {opAppendFiles, "", "/x"},
        {opSearchReplace, "x", ".."},
        {opSearchReplace, "x", "."},
        {opSearchReplace, "x", "a/b"},
    };
    const QString x = file("x");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " " + c.second);
        m_options.firstText = QString::fromUtf8(c.first);
        m_options.secondText = QString::fromUtf8(c.second);
        EXPECT_EQ(run(c.code, {x}).itemText, QStringLiteral("ERROR on x"));
        EXPECT_EQ(names(), Names{"x"});
        EXPECT_FALSE(namesIn(home().root()).contains("x")) << "nothing left the target folder";
    }
}

TEST_F(FileToolsBatchTest, EmptySearchTextIsNoInput)
{
    m_options.secondText = QStringLiteral("X");
    EXPECT_FALSE(FileToolBranches::hasInput(opSearchReplace, m_options));
    m_options.firstText = QStringLiteral("a");
    EXPECT_TRUE(FileToolBranches::hasInput(opSearchReplace, m_options));
    EXPECT_FALSE(FileToolBranches::hasInput(opMakeNumberFiles, m_options));
    m_options.firstNumber = QStringLiteral(" 7 ");
    EXPECT_TRUE(FileToolBranches::hasInput(opMakeNumberFiles, m_options));
}

TEST_F(FileToolsBatchTest, NumberingThreeFiles)
{
    const QStringList work{file("c.jpg"), file("a.png"), file("b")};
    m_options.firstNumber = QStringLiteral("7");
    run(opMakeNumberFiles, work);
    EXPECT_EQ(names(), (Names{"000007.jpg", "000008.png", "000009"}));
    EXPECT_EQ(bytesOf("000007.jpg"), "c.jpg");
}

// Renumbering 000001..000009 from 2: every target but the last is an input still to come.
TEST_F(FileToolsBatchTest, RenumberingOntoInputsLosesNothing)
{
    QStringList work;
    for (int i = 1; i <= 9; ++i)
        work << file(QByteArray("00000") + QByteArray::number(i) + ".txt");
    m_options.firstNumber = QStringLiteral("2");
    const BatchLabels labels = run(opMakeNumberFiles, work);
    EXPECT_EQ(labels.itemText, QString());
    Names expected;
    for (int i = 2; i <= 10; ++i)
        expected << QByteArray::number(i).rightJustified(6, '0') + ".txt";
    EXPECT_EQ(names(), expected);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(bytesOf(QByteArray::number(i + 1).rightJustified(6, '0') + ".txt"), QByteArray("00000") + QByteArray::number(i) + ".txt");
    EXPECT_TRUE(prompter().records().isEmpty()) << "no replace question for an input";
}

// A swap: each target is the other's source.
TEST_F(FileToolsBatchTest, RenumberingASwap)
{
    const QStringList work{file("000002"), file("000001")};
    m_options.firstNumber = QStringLiteral("1");
    run(opMakeNumberFiles, work);
    EXPECT_EQ(names(), (Names{"000001", "000002"}));
    EXPECT_EQ(bytesOf("000001"), "000002");
    EXPECT_EQ(bytesOf("000002"), "000001");
}

// 1,200 files from 7, grouped: folders 000001, 000002, 000003 with 500, 500 and 200 files
// named 000007.ext to 001206.ext, as a listing shows them.
TEST_F(FileToolsBatchTest, NumberingInGroupsOf500)
{
    const QString source = makeFolder(QStringLiteral("source"));
    QStringList work;
    for (int i = 0; i < 1200; ++i)
        work << file("f" + QByteArray::number(i).rightJustified(4, '0') + ".dat", source);
    m_options.firstNumber = QStringLiteral("7");
    prompter().answer(PromptButton::Yes);
    run(opMakeNumberFiles, work);
    EXPECT_EQ(prompter().last().text, QStringLiteral("Would you like to group files in folders of 500 each?"));
    EXPECT_EQ(names(), (Names{"000001", "000002", "000003"}));
    const int sizes[] = {500, 500, 200};
    int number = 7;
    for (int group = 0; group < 3; ++group) {
        Names expected;
        for (int k = 0; k < sizes[group]; ++k)
            expected << QByteArray::number(number++).rightJustified(6, '0') + ".dat";
        EXPECT_EQ(namesIn(m_folder + QStringLiteral("/00000") + QString::number(group + 1)), expected);
    }
    EXPECT_EQ(readFile(FileName::encode(m_folder) + "/000003/001206.dat"), "f1199.dat");
    EXPECT_TRUE(namesIn(source).isEmpty());
}

// A name in the way that is no input: the replace question; No keeps both, Yes puts the
// old file into the Trash before the rename.
TEST_F(FileToolsBatchTest, AppendAsksBeforeReplacingAndTrashesWhatItReplaces)
{
    const QString report = file("report.doc");
    file("report_old.doc");
    m_options.secondText = QStringLiteral("_old");
    prompter().answer(PromptButton::No);
    run(opAppendFiles, {report});
    EXPECT_EQ(prompter().last().buttons, PromptButton::Yes | PromptButton::YesToAll | PromptButton::No | PromptButton::Cancel);
    EXPECT_EQ(names(), (Names{"report.doc", "report_old.doc"}));

    prompter().answer(PromptButton::Yes);
    run(opAppendFiles, {report});
    EXPECT_EQ(names(), Names{"report_old.doc"});
    EXPECT_EQ(bytesOf("report_old.doc"), "report.doc");
    const QList<TrashedItem> trashed = Trash::items(Trash::homeTrash());
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(trashed.first().originalPath, m_folder + QStringLiteral("/report_old.doc"));
}

TEST_F(FileToolsBatchTest, CancelInTheReplaceQuestionEndsTheBatch)
{
    const QStringList work{file("a"), file("b")};
    file("xa");
    m_options.firstText = QStringLiteral("x");
    prompter().answer(PromptButton::Cancel);
    run(opAppendFiles, work);
    EXPECT_EQ(m_end, BatchEnd::Cancelled);
    EXPECT_EQ(names(), (Names{"a", "b", "xa"}));
}

TEST_F(FileToolsBatchTest, NamesThatAreNotUtf8SurviveEveryTool)
{
    const QByteArray odd = "caf\xe9-IMG";
    QString path = file(odd + ".txt");
    m_options.newExtension = QStringLiteral("bak");
    run(opChangeExtension, {path});
    EXPECT_EQ(names(), Names{odd + ".bak"});
    m_options.firstText = QStringLiteral("IMG");
    m_options.secondText = QStringLiteral("X");
    run(opSearchReplace, {pathOf(odd + ".bak")});
    EXPECT_EQ(names(), Names{"caf\xe9-X.bak"});
    m_options.firstText = QStringLiteral("\u00e9-");
    m_options.secondText = QString();
    run(opAppendFiles, {pathOf("caf\xe9-X.bak")});
    EXPECT_EQ(names(), Names{"\xc3\xa9-caf\xe9-X.bak"});
    EXPECT_EQ(bytesOf("\xc3\xa9-caf\xe9-X.bak"), odd + ".txt");
}

// Search + Replace gives the names that rename(1) gives for the same expression; the
// extension is left alone, so the names here keep the text out of theirs.
TEST_F(FileToolsBatchTest, SearchReplaceMatchesRename)
{
    const QString peer = QStandardPaths::findExecutable(QStringLiteral("rename"));
    if (peer.isEmpty())
        GTEST_SKIP() << "rename(1) is not installed";
    const QByteArray names[] = {"IMG_001.jpg", "img_002.jpg", "IMGIMG.png", "a-IMG-b-IMG.txt", "noimg", "xIMG", "\xffIMG.raw"};
    const QString theirs = makeFolder(QStringLiteral("theirs"));
    QStringList work;
    for (const QByteArray& name : names) {
        work << file(name);
        file(name, theirs);
    }
    m_options.firstText = QStringLiteral("IMG");
    m_options.secondText = QStringLiteral("X");
    run(opSearchReplace, work);
    // The shell's glob hands rename the names as bytes.
    QProcess process;
    process.setWorkingDirectory(theirs);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("\"$0\" 's/IMG/X/g' *"), peer});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(namesIn(m_folder), namesIn(theirs));
}

// The work list takes links to files but no FIFO, and a job cancelled before it ran hands
// back nothing.
TEST_F(FileToolsBatchTest, WorkListTakesFilesOnly)
{
    const QString real = file("real.txt");
    const QByteArray base = FileName::encode(m_folder);
    ASSERT_EQ(::symlink("real.txt", QByteArray(base + "/link.txt").constData()), 0);
    ASSERT_EQ(::mkfifo(QByteArray(base + "/pipe").constData(), 0600), 0);
    ListEntry row{m_folder, QStringLiteral("work"), QString(), QStringLiteral("dir"), true, false};
    EXPECT_EQ(CollectSelectedFiles({row}, false), (QStringList{m_folder + QStringLiteral("/link.txt"), real}));
    WorkListJob job({row}, false);
    job.run();
    EXPECT_EQ(job.files().size(), 2);
    EXPECT_EQ(job.progress().doneItems, 2);
    WorkListJob cancelled({row}, false);
    cancelled.cancel();
    cancelled.run();
    EXPECT_TRUE(cancelled.files().isEmpty());
}

// A target on another file system: the engine's copy, checked, then the source removed;
// a name taken there is still never replaced.
TEST_F(FileToolsBatchTest, AcrossFileSystems)
{
    struct stat here {}, there {};
    if (::stat("/dev/shm", &there) != 0 || ::stat(FileName::encode(m_folder).constData(), &here) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    QTemporaryDir other(QStringLiteral("/dev/shm/filetools-XXXXXX"));
    ASSERT_TRUE(other.isValid());
    const QString a = file("a.txt");
    const QString b = file("b.txt");
    writeFile(QByteArray(FileName::encode(other.path()) + "/b.bak"), "taken");
    m_options.target = other.path() + QLatin1Char('/');
    m_options.newExtension = QStringLiteral("bak");
    EXPECT_EQ(run(opChangeExtension, {a, b}).itemText, QStringLiteral("ERROR on b.txt"));
    EXPECT_EQ(names(), Names{"b.txt"});
    EXPECT_EQ(namesIn(other.path()), (Names{"a.bak", "b.bak"}));
    EXPECT_EQ(readFile(FileName::encode(other.path()) + "/a.bak"), "a.txt");
    EXPECT_EQ(readFile(FileName::encode(other.path()) + "/b.bak"), "taken");
}

} // namespace
