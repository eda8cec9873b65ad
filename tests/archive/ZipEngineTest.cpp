// The engine's operations around an archive: passwords asked through the event, abort
// during save, freshen/replace/delete, DOS names, legacy names, Zip64 by entry count, the
// self-extractor and the command-line front.
#include "ZipTestTools.h"
#include "archive/TAbZipKit.h"
#include "archive/TFolZipFix.h"
#include "platform/TransferFaults.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QBuffer>

#include <sys/stat.h>

namespace {

class ZipEngineTest : public TempHomeTest {
protected:
    QString root() { return home().root(); }
    QString makeArchive(const QString& name, const QString& password = QString())
    {
        makeSampleTree(root() + QStringLiteral("/tree"));
        TAbZipKit zip;
        zip.Password = password;
        zip.StoreOptions = ZipStoreOption::Recurse;
        const QString path = root() + QLatin1Char('/') + name;
        EXPECT_TRUE(zip.setFileName(path));
        zip.BaseDirectory = root();
        EXPECT_TRUE(zip.AddFiles(QStringLiteral("tree")));
        EXPECT_TRUE(zip.Save()) << qPrintable(zip.errorString());
        return path;
    }
    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

} // namespace

TEST_F(ZipEngineTest, PasswordIsAskedAgainAndWrongOnesLeaveNoFile)
{
    const QString archive = makeArchive(QStringLiteral("enc.zip"), QStringLiteral("right"));
    struct Case {
        QStringList answers;
        bool succeeds;
    };
    const Case cases[] = {{{QStringLiteral("wrong"), QStringLiteral("right")}, true},
                          {{QStringLiteral("wrong"), QStringLiteral("wrong")}, false},
                          {{QString()}, false}};
    int n = 0;
    for (const Case& c : cases) {
        const QString target = root() + QStringLiteral("/out%1").arg(n++);
        QDir().mkpath(target);
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        QStringList answers = c.answers;
        int asked = 0;
        zip.OnNeedPassword = [&](QString& pw) {
            ++asked;
            pw = answers.isEmpty() ? pw : answers.takeFirst();
        };
        zip.BaseDirectory = target;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        EXPECT_EQ(zip.ExtractFiles(QStringLiteral("text.txt")), c.succeeds) << qPrintable(zip.problems().join(QLatin1Char('\n')));
        EXPECT_GE(asked, 1);
        const QStringList files = listTree(target);
        if (c.succeeds)
            EXPECT_EQ(bytesOf(target + QStringLiteral("/tree/text.txt")), bytesOf(root() + QStringLiteral("/tree/text.txt")));
        else
            EXPECT_EQ(files, QStringList{QStringLiteral("tree")}) << "no file, not even a temporary one";
    }
}

TEST_F(ZipEngineTest, AbortDuringSaveKeepsTheOriginal)
{
    const QString archive = makeArchive(QStringLiteral("keep.zip"));
    const QByteArray before = bytesOf(archive);
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = root();
    makeSampleTree(root() + QStringLiteral("/more"));
    zip.StoreOptions = ZipStoreOption::Recurse;
    ASSERT_TRUE(zip.AddFiles(QStringLiteral("more")));
    int calls = 0;
    zip.OnArchiveSaveProgress = [&](int, bool& abort) { abort = ++calls >= 2; };
    EXPECT_FALSE(zip.Save());
    EXPECT_EQ(bytesOf(archive), before);
    const QStringList leftovers = QDir(root()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(leftovers, QStringList{QStringLiteral("keep.zip")});
}

TEST_F(ZipEngineTest, FreshenReplaceAndDeleteTagged)
{
    const QString archive = makeArchive(QStringLiteral("upd.zip"));
    const QString text = root() + QStringLiteral("/tree/text.txt");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("changed");
    f.flush();
    f.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
    f.close();
    makeSampleTree(root() + QStringLiteral("/tree2"));

    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = root();
    zip.StoreOptions = ZipStoreOption::Freshen | ZipStoreOption::Recurse;
    ASSERT_TRUE(zip.AddFiles(QStringLiteral("tree")));
    ASSERT_TRUE(zip.AddFiles(QStringLiteral("tree2"))); // freshen adds nothing new
    zip.TagItems(QStringLiteral("noise.bin"));
    zip.DeleteTaggedItems();
    ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());

    QStringList names;
    for (int i = 0; i < zip.Count(); ++i)
        names << zip.Items(i).FileName;
    EXPECT_FALSE(names.contains(QStringLiteral("tree/sub/noise.bin"))) << qPrintable(names.join(QLatin1Char('|')));
    EXPECT_FALSE(names.contains(QStringLiteral("tree2/text.txt")));
    const QString target = root() + QStringLiteral("/x");
    QDir().mkpath(target);
    zip.BaseDirectory = target;
    zip.ExtractOptions = ZipExtractOption::CreateDirs;
    ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("text.txt")));
    EXPECT_EQ(bytesOf(target + QStringLiteral("/text.txt")), QByteArray("changed")) << "without RestorePath, no folders";
}

TEST_F(ZipEngineTest, OverwriteIsAskedAndNoKeepsTheFile)
{
    const QString archive = makeArchive(QStringLiteral("ow.zip"));
    const QString target = root() + QStringLiteral("/t");
    QDir().mkpath(target + QStringLiteral("/tree"));
    QFile f(target + QStringLiteral("/tree/text.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive));
    QStringList asked;
    zip.OnConfirmOverwrite = [&](QString& name, bool& confirm) {
        asked << name;
        confirm = false;
    };
    zip.BaseDirectory = target;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*.txt")));
    EXPECT_EQ(asked, QStringList{QStringLiteral("text.txt")});
    EXPECT_EQ(bytesOf(f.fileName()), QByteArray("mine"));
}

// An extracted file that replaces an existing one is flushed before the rename puts it over
// the old file; a file with no predecessor is not, so plain extraction stays fast.
TEST_F(ZipEngineTest, AReplacingFileIsFlushedBeforeItTakesTheName)
{
    const QString archive = makeArchive(QStringLiteral("sync.zip"));
    const struct {
        const char* name;
        bool existing;
        QStringList steps;
    } cases[] = {
        {"replace", true, {QStringLiteral("sync"), QStringLiteral("rename")}},
        {"new file", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = root() + QStringLiteral("/sync-") + QString::fromLatin1(c.name);
        const QString file = target + QStringLiteral("/tree/text.txt");
        QDir().mkpath(target + QStringLiteral("/tree"));
        if (c.existing)
            makeFile(QStringLiteral("sync-%1/tree/text.txt").arg(QLatin1String(c.name)), "mine");
        QStringList steps;
        TransferFaults faults;
        faults.replaceStep = [&](const char* step) {
            steps << QString::fromLatin1(step);
            if (QLatin1String(step) == QLatin1String("rename")) {
                EXPECT_EQ(bytesOf(file), QByteArray("mine")) << "the old file stays until the rename";
            }
        };
        TransferFaults::set(faults);
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        zip.OnConfirmOverwrite = [](QString&, bool& confirm) { confirm = true; };
        zip.BaseDirectory = target;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        const bool ok = zip.ExtractFiles(QStringLiteral("text.txt"));
        TransferFaults::clear();
        EXPECT_TRUE(ok) << qPrintable(zip.errorString());
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(bytesOf(file), bytesOf(root() + QStringLiteral("/tree/text.txt")));
    }
}

// Stored permissions pass through the umask like any new file's, and the setuid, setgid and
// sticky bits an archive carries are never restored.
TEST_F(ZipEngineTest, ExtractedModesFollowTheUmaskAndDropSpecialBits)
{
    const QString archive = root() + QStringLiteral("/modes.zip");
    const auto made = runPython(QStringLiteral(R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    for name, mode in (('open', 0o777), ('tool', 0o4755), ('group', 0o2775), ('sticky', 0o1777), ('own', 0o600)):
        i = zipfile.ZipInfo(name); i.create_system = 3; i.external_attr = ((0o100000 | mode) << 16)
        z.writestr(i, 'x')
)"),
                                {archive});
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    const struct {
        const char* name;
        mode_t mode;
    } cases[] = {{"open", 0755}, {"tool", 0755}, {"group", 0755}, {"sticky", 0755}, {"own", 0600}};
    const QString target = root() + QStringLiteral("/modes");
    QDir().mkpath(target);
    const mode_t before = ::umask(022);
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
    zip.BaseDirectory = target;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    const bool ok = zip.ExtractFiles(QStringLiteral("*"));
    ::umask(before);
    ASSERT_TRUE(ok) << qPrintable(zip.problems().join(QLatin1Char('\n')));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        struct stat st {};
        ASSERT_EQ(::stat((target + QLatin1Char('/') + QLatin1String(c.name)).toLocal8Bit().constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
    }
}

// With no overwrite handler nobody can agree to a replace: existing files are kept and
// listed, while the entries with free names are still extracted.
TEST_F(ZipEngineTest, WithoutAHandlerExistingFilesAreKeptAndListed)
{
    const QString archive = makeArchive(QStringLiteral("keep.zip"));
    const QString target = root() + QStringLiteral("/keep");
    const QString mine = makeFile(QStringLiteral("keep/tree/text.txt"), "mine");
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = target;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    EXPECT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.errorString());
    EXPECT_EQ(zip.skipped(), QStringList{mine});
    EXPECT_EQ(bytesOf(mine), QByteArray("mine"));
    EXPECT_EQ(bytesOf(target + QStringLiteral("/tree/sub/noise.bin")), bytesOf(root() + QStringLiteral("/tree/sub/noise.bin")));
}

// An answer that renames the entry onto another existing file does not replace that file
// unasked: the new name is asked about in turn, and answers that keep naming existing files
// end in a skip.
TEST_F(ZipEngineTest, ARenameAnswerNamingAnExistingFileIsAskedAboutAgain)
{
    const QString archive = makeArchive(QStringLiteral("rename.zip"));
    const QByteArray fresh = bytesOf(root() + QStringLiteral("/tree/text.txt"));
    const struct {
        const char* name;
        QStringList renames; // answer to each question, in order ("" keeps the asked name)
        bool lastYes;        // the final answer's confirm
        QStringList asked;
        QString written;     // file that gets the entry's bytes, or "" for none
        bool skipped;
    } cases[] = {
        {"rename to a free name", {QStringLiteral("free.txt")}, true, {QStringLiteral("text.txt")}, QStringLiteral("free.txt"), false},
        {"rename onto a file, then agree", {QStringLiteral("other.txt"), QString()}, true,
         {QStringLiteral("text.txt"), QStringLiteral("other.txt")}, QStringLiteral("other.txt"), false},
        {"rename onto a file, then no", {QStringLiteral("other.txt"), QString()}, false,
         {QStringLiteral("text.txt"), QStringLiteral("other.txt")}, QString(), false},
        {"renames that never end", {}, true, {}, QString(), true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = root() + QStringLiteral("/r%1").arg(n);
        for (const char* name : {"text.txt", "other.txt"})
            makeFile(QStringLiteral("r%1/tree/").arg(n) + QLatin1String(name), name);
        ++n;
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        QStringList asked;
        zip.OnConfirmOverwrite = [&](QString& name, bool& confirm) {
            const qsizetype i = asked.size();
            asked << name;
            if (c.renames.isEmpty()) { // flips between the two existing files forever
                name = name == QLatin1String("text.txt") ? QStringLiteral("other.txt") : QStringLiteral("text.txt");
                return;
            }
            if (!c.renames.value(i).isEmpty())
                name = c.renames.value(i);
            confirm = i + 1 < c.renames.size() || c.lastYes;
        };
        zip.BaseDirectory = folder;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        EXPECT_TRUE(zip.ExtractFiles(QStringLiteral("text.txt"))) << qPrintable(zip.errorString());
        if (!c.renames.isEmpty()) {
            EXPECT_EQ(asked, c.asked);
        }
        EXPECT_EQ(zip.skipped().size(), c.skipped ? 1 : 0);
        for (const char* name : {"text.txt", "other.txt"}) {
            const bool gotEntry = c.written == QLatin1String(name);
            EXPECT_EQ(bytesOf(folder + QStringLiteral("/tree/") + QLatin1String(name)), gotEntry ? fresh : QByteArray(name)) << name;
        }
        if (c.written == QLatin1String("free.txt")) {
            EXPECT_EQ(bytesOf(folder + QStringLiteral("/tree/free.txt")), fresh);
        }
    }
}

// fvtool unzip keeps existing files unless --overwrite is given: each kept file is named on
// stderr and the run fails, so a script notices that not everything was extracted.
TEST_F(ZipEngineTest, CommandLineKeepsExistingFilesUnlessOverwriteIsGiven)
{
    const QString archive = makeArchive(QStringLiteral("cli-keep.zip"));
    const QByteArray fresh = bytesOf(root() + QStringLiteral("/tree/text.txt"));
    const struct {
        const char* name;
        QStringList options;
        int exitCode;
        bool replaced;
    } cases[] = {
        {"default", {}, 1, false},
        {"--overwrite", {QStringLiteral("--overwrite")}, 0, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = root() + QStringLiteral("/cli%1").arg(n);
        const QString mine = makeFile(QStringLiteral("cli%1/tree/text.txt").arg(n++), "mine");
        const auto run = runTool(fvtoolPath(), QStringList{QStringLiteral("unzip"), archive, target} + c.options);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output.constData();
        EXPECT_EQ(run.output.contains(("skipped (exists): " + mine).toUtf8()), !c.replaced) << run.output.constData();
        EXPECT_EQ(bytesOf(mine), c.replaced ? fresh : QByteArray("mine"));
        EXPECT_EQ(bytesOf(target + QStringLiteral("/tree/sub/noise.bin")), bytesOf(root() + QStringLiteral("/tree/sub/noise.bin")));
    }
}

// A link stored in the archive meets a file of its name in the target: it is asked about like
// any file; No keeps the file, Yes puts the link in its place, and a folder of the name stays.
TEST_F(ZipEngineTest, AStoredLinkReplacesAnExistingFileOnlyWhenTheUserAgrees)
{
    const QString archive = root() + QStringLiteral("/links.zip");
    const auto made = runPython(QStringLiteral(R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr('data.txt', 'new data')
    for name in ('note.txt', 'box'):
        i = zipfile.ZipInfo(name); i.create_system = 3; i.external_attr = (0o120777 << 16)
        z.writestr(i, 'data.txt')
)"),
                                {archive});
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    for (const bool agree : {false, true}) {
        SCOPED_TRACE(agree ? "Yes" : "No");
        const QString target = root() + (agree ? QStringLiteral("/yes") : QStringLiteral("/no"));
        QDir().mkpath(target + QStringLiteral("/box"));
        QFile mine(target + QStringLiteral("/note.txt"));
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("my only copy");
        mine.close();
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
        QStringList asked;
        zip.OnConfirmOverwrite = [&](QString& name, bool& confirm) {
            asked << name;
            confirm = agree;
        };
        zip.BaseDirectory = target;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        EXPECT_FALSE(zip.ExtractFiles(QStringLiteral("*")));
        EXPECT_TRUE(zip.problems().join(QLatin1Char('\n')).contains(QStringLiteral("zip: entry 'box': a folder of that name exists")))
            << qPrintable(zip.problems().join(QLatin1Char('\n')));
        EXPECT_EQ(asked, QStringList{QStringLiteral("note.txt")});
        EXPECT_EQ(QFileInfo(mine.fileName()).isSymLink(), agree);
        EXPECT_EQ(bytesOf(mine.fileName()), agree ? QByteArray("new data") : QByteArray("my only copy"));
        EXPECT_TRUE(QFileInfo(target + QStringLiteral("/box")).isDir());
        EXPECT_FALSE(QFileInfo(target + QStringLiteral("/box")).isSymLink());
    }
}

TEST_F(ZipEngineTest, DosModeAndLegacyNames)
{
    struct Case {
        QString in;
        QString stored;
    };
    const Case cases[] = {{QStringLiteral("Long File Name.text"), QStringLiteral("LONGFILE.TEX")},
                          {QStringLiteral("a.b.c"), QStringLiteral("AB.C")},
                          {QStringLiteral("é+x"), QStringLiteral("__X")}};
    for (const Case& c : cases) {
        const QString file = makeFile(QStringLiteral("dos/") + c.in, "x");
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(root() + QStringLiteral("/dos.zip")));
        zip.DOSMode = true;
        zip.StoreOptions = ZipStoreOption::StripPath;
        ASSERT_TRUE(zip.AddFiles(file));
        EXPECT_EQ(zip.Items(zip.Count() - 1).FileName, c.stored);
    }
    // A name without the UTF-8 flag from a DOS host is code page 437 (0x82 is "é").
    QByteArray entry = QByteArray("PK\x03\x04\x0a\x00\x00\x00\x00\x00\x00\x00\x00\x00", 14)
        + QByteArray("\x8c\x9b\xd2\x26\x01\x00\x00\x00\x01\x00\x00\x00\x08\x00\x00\x00", 16) + "caf\x82.txtx";
    QByteArray rebuilt;
    {
        QBuffer out(&rebuilt);
        out.open(QIODevice::WriteOnly);
        TFolZipFix fix;
        ASSERT_TRUE(fix.ReclaimZip(reinterpret_cast<const uint8_t*>(entry.constData()), uint64_t(entry.size()), &out));
    }
    const QString legacy = makeFile(QStringLiteral("legacy.zip"), rebuilt);
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(legacy)) << qPrintable(zip.errorString());
    ASSERT_EQ(zip.Count(), 1);
    EXPECT_EQ(zip.Items(0).FileName, QStringLiteral("café.txt"));
}

TEST_F(ZipEngineTest, MoreThan65535EntriesWriteZip64)
{
    const QString folder = makeFolder(QStringLiteral("many"));
    const int count = 65540;
    for (int i = 0; i < count; ++i)
        QFile(folder + QStringLiteral("/f%1").arg(i)).open(QIODevice::WriteOnly);
    TAbZipKit zip;
    const QString archive = root() + QStringLiteral("/many.zip");
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = root();
    ASSERT_TRUE(zip.AddFiles(QStringLiteral("many")));
    ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());
    EXPECT_EQ(zip.Count(), count);
    const auto py = runPython(QStringLiteral("import sys, zipfile\nprint(len(zipfile.ZipFile(sys.argv[1]).infolist()))"), {archive});
    EXPECT_EQ(py.output.trimmed(), QByteArray::number(count));
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive}).exitCode, 0);
}

TEST_F(ZipEngineTest, SelfExtractorRunsAndRefusesWrongInputs)
{
    const QString archive = makeArchive(QStringLiteral("sfx.zip"));
    const QString exe = root() + QStringLiteral("/sfx.exe");
    TAbZipKit kit;
    ASSERT_TRUE(kit.MakeSelfExtracting(stubPath(QStringLiteral("fv3smallstub.exe")), archive, exe))
        << qPrintable(kit.errorString());
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), exe}).exitCode, 0);
    const QString target = makeFolder(QStringLiteral("run"));
    const auto run = runTool(exe, {}, target);
    EXPECT_EQ(run.exitCode, 0) << run.output.constData();
    EXPECT_EQ(treeContents(target + QStringLiteral("/tree")), treeContents(root() + QStringLiteral("/tree")));

    // The windowed stub does the same with a folder named on its command line.
    const QString windowed = root() + QStringLiteral("/setup.exe");
    ASSERT_TRUE(kit.MakeSelfExtracting(stubPath(QStringLiteral("fv3selfstub.exe")), archive, windowed))
        << qPrintable(kit.errorString());
    const QString chosen = makeFolder(QStringLiteral("chosen"));
    const auto setup = runTool(windowed, {chosen});
    EXPECT_EQ(setup.exitCode, 0) << setup.output.constData();
    EXPECT_EQ(treeContents(chosen + QStringLiteral("/tree")), treeContents(root() + QStringLiteral("/tree")));

    const QString notElf = makeFile(QStringLiteral("stub.exe"), "MZ\x90\x00 windows stub");
    EXPECT_FALSE(kit.MakeSelfExtracting(notElf, archive, root() + QStringLiteral("/a.exe")));
    EXPECT_EQ(kit.errorString(), QStringLiteral("zip: %1 is not an executable program").arg(notElf));
    const QString notZip = makeFile(QStringLiteral("nz.zip"), "not a zip at all");
    EXPECT_FALSE(kit.MakeSelfExtracting(stubPath(QStringLiteral("fv3smallstub.exe")), notZip, root() + QStringLiteral("/b.exe")));
    EXPECT_EQ(kit.errorString(), QStringLiteral("zip: %1 does not begin with \"PK\"").arg(notZip));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("/a.exe")));
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("/b.exe")));
}

TEST_F(ZipEngineTest, ZipFileTests)
{
    const QString plain = makeArchive(QStringLiteral("p.zip"));
    const QString enc = makeArchive(QStringLiteral("e.zip"), QStringLiteral("pw"));
    const QString text = makeFile(QStringLiteral("t.txt"), "PK but not");
    EXPECT_TRUE(IsZipFile(plain));
    EXPECT_FALSE(IsZipFile(text));
    EXPECT_FALSE(IsZipFile(root()));
    EXPECT_FALSE(IsZipEncrypted(plain));
    // The first entry is the folder "tree/", which is never encrypted; a file first is.
    TAbZipKit zip;
    const QString single = root() + QStringLiteral("/one.zip");
    ASSERT_TRUE(zip.setFileName(single));
    zip.Password = QStringLiteral("pw");
    ASSERT_TRUE(zip.AddFiles(root() + QStringLiteral("/t.txt")));
    ASSERT_TRUE(zip.Save());
    EXPECT_TRUE(IsZipEncrypted(single));
    EXPECT_FALSE(IsZipEncrypted(enc));
}

TEST_F(ZipEngineTest, CommandLineReportsAndFails)
{
    const QString archive = makeArchive(QStringLiteral("cli.zip"));
    const auto fix = runTool(fvtoolPath(), {QStringLiteral("zipfix"), archive, root() + QStringLiteral("/fixed.zip")});
    EXPECT_EQ(fix.exitCode, 0);
    EXPECT_TRUE(fix.output.contains("reclaimed ok: \ttree/text.txt\n"));
    EXPECT_TRUE(fix.output.endsWith("reclaimed 7 out of 7 files.\n")) << fix.output.constData();
    const auto bad = runTool(fvtoolPath(), {QStringLiteral("unzip"), makeFile(QStringLiteral("junk.zip"), "junk"),
                                            root() + QStringLiteral("/o")});
    EXPECT_NE(bad.exitCode, 0);
    const QByteArray expected = "zip: cannot open " + root().toUtf8() + "/junk.zip: no end of central directory";
    EXPECT_TRUE(bad.output.contains(expected))
        << bad.output.constData();
    const auto wrong = runTool(fvtoolPath(), {QStringLiteral("unzip"), makeArchive(QStringLiteral("pw.zip"), QStringLiteral("a")),
                                              root() + QStringLiteral("/o2"), QStringLiteral("--password"), QStringLiteral("b")});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(wrong.output.contains("zip: entry 'tree/text.txt': wrong password")) << wrong.output.constData();
}

TEST_F(ZipEngineTest, FullDiskLeavesNothingHalfWritten)
{
    // 8 MB of zeros deflate to a few KB; the extraction may write at most 1 MB (a file-size
    // limit stands in for a full disk, which root cannot be denied otherwise).
    const QString zeros = makeFile(QStringLiteral("src/zeros.bin"), QByteArray(8 << 20, '\0'));
    TAbZipKit zip;
    const QString archive = root() + QStringLiteral("/bomb.zip");
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = root();
    ASSERT_TRUE(zip.AddFiles(zeros));
    ASSERT_TRUE(zip.Save());
    const QString target = makeFolder(QStringLiteral("out"));
    const auto run = runTool(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 1024; exec \"$0\" unzip \"$1\" \"$2\""),
                                                      fvtoolPath(), archive, target});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("File too large")) << run.output.constData();
    EXPECT_EQ(listTree(target), QStringList{QStringLiteral("src")});
}

TEST_F(ZipEngineTest, MasksChooseWhatIsExtracted)
{
    const QString archive = makeArchive(QStringLiteral("masks.zip"));
    struct Case {
        QString mask;
        QString exclusion;
        QStringList files; // files extracted, relative to tree/
    };
    const Case cases[] = {
        {QStringLiteral("*.*"), QString(), {QStringLiteral("Grüße ünïcode.txt"), QStringLiteral("sub/empty.txt"),
                                            QStringLiteral("sub/noise.bin"), QStringLiteral("text.txt")}},
        {QStringLiteral("*.*"), QStringLiteral("*.TXT"), {QStringLiteral("sub/noise.bin")}},
        {QStringLiteral("*.bin;TEXT.*"), QString(), {QStringLiteral("sub/noise.bin"), QStringLiteral("text.txt")}},
        {QStringLiteral("tree/sub/*"), QStringLiteral("noise.bin"), {QStringLiteral("sub/empty.txt")}},
        {QStringLiteral("?.txt"), QString(), {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString target = makeFolder(QStringLiteral("m%1").arg(n++));
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        zip.BaseDirectory = target;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        ASSERT_TRUE(zip.ExtractFilesEx(c.mask, c.exclusion));
        QStringList files;
        for (const QString& path : listTree(target + QStringLiteral("/tree")))
            if (QFileInfo(target + QStringLiteral("/tree/") + path).isFile())
                files << path;
        EXPECT_EQ(files, c.files) << qPrintable(c.mask + QLatin1Char(' ') + c.exclusion);
    }
}

TEST_F(ZipEngineTest, AbortDuringExtractionStopsAndLeavesNoPartialFile)
{
    const QString archive = makeArchive(QStringLiteral("abort.zip"));
    const QString target = makeFolder(QStringLiteral("t"));
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = target;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    QList<int> overall;
    zip.OnArchiveProgress = [&](int percent, bool&) { overall << percent; };
    zip.OnArchiveItemProgress = [&](const ZipEntry& item, int, bool& abort) { abort = item.FileName.endsWith(QLatin1String("text.txt")); };
    EXPECT_FALSE(zip.ExtractFiles(QStringLiteral("*")));
    EXPECT_EQ(zip.errorString(), QStringLiteral("zip: aborted"));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/tree/text.txt")));
    EXPECT_FALSE(overall.isEmpty());
    EXPECT_LT(overall.last(), 100);
}
