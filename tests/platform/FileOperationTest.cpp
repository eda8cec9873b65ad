// The file operation engine: what it copies and keeps, the questions it asks, and that no
// failure (no space, I/O error, a vanishing source, Cancel) loses data or leaves a partial file.
#include "platform/FileOperation.h"
#include "platform/TransferFaults.h"
#include "platform/JobWaiter.h"

#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + (i >> 10));
    return bytes;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entriesBelow(const QString& folder)
{
    QStringList names;
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        names << name;
        if (QFileInfo(dir.filePath(name)).isDir() && !QFileInfo(dir.filePath(name)).isSymLink()) {
            for (const QString& child : entriesBelow(dir.filePath(name)))
                names << name + QLatin1Char('/') + child;
        }
    }
    return names;
}

class FileOperationTest : public TempHomeTest {
protected:
    void TearDown() override
    {
        TransferFaults::clear();
        TempHomeTest::TearDown();
    }
    QString path(const QString& relative) const { return m_root + QLatin1Char('/') + relative; }
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_root = makeFolder(QStringLiteral("work"));
    }
    // A second file system for moves that cannot be renames; empty when there is none.
    QString otherVolume()
    {
        if (!m_other) {
            m_other = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/fvtest-XXXXXX"));
            struct stat a {}, b {};
            if (!m_other->isValid() || ::stat(QFile::encodeName(m_root).constData(), &a) != 0
                || ::stat(QFile::encodeName(m_other->path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
                return QString();
        }
        return m_other->path();
    }

    QString m_root;
    std::unique_ptr<QTemporaryDir> m_other;
};

TEST_F(FileOperationTest, CopyTreeKeepsBytesTimesPermissionsLinksAndFifos)
{
    makeFile(QStringLiteral("work/src/a.txt"), "alpha");
    makeFile(QStringLiteral("work/src/sub/big.bin"), pattern(3 << 20, 1));
    makeFile(QStringLiteral("work/src/sub/empty"), QByteArray());
    QFile::link(QStringLiteral("sub/big.bin"), path(QStringLiteral("src/link")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("src/pipe"))).constData(), 0640), 0);
    ::chmod(QFile::encodeName(path(QStringLiteral("src/a.txt"))).constData(), 0741);
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
    for (const char* name : {"src/a.txt", "src/sub"}) {
        QFile f(path(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) || QFileInfo(f).isDir());
        ::utimensat(AT_FDCWD, QFile::encodeName(f.fileName()).constData(),
                    std::array<timespec, 2>{timespec{1000000000, 5}, timespec{1000000000, 5}}.data(), 0);
    }

    // The attribute the program keeps DOS attributes in (where the file system has them).
    const bool xattrs = ::setxattr(QFile::encodeName(path(QStringLiteral("src/a.txt"))).constData(), "user.DOSATTRIB", "0x21", 4, 0) == 0
        && ::setxattr(QFile::encodeName(path(QStringLiteral("src/sub"))).constData(), "user.DOSATTRIB", "0x12", 4, 0) == 0;

    ASSERT_TRUE(RunTransfer(FileOperationKind::Copy, {path(QStringLiteral("src"))}, {path(QStringLiteral("dst/"))}));

    EXPECT_EQ(entriesBelow(path(QStringLiteral("dst/src"))), entriesBelow(path(QStringLiteral("src"))));
    if (xattrs) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(QFile::encodeName(path(QStringLiteral("dst/src/a.txt"))).constData(), "user.DOSATTRIB", value, sizeof value), 4);
        EXPECT_STREQ(value, "0x21");
        EXPECT_EQ(::getxattr(QFile::encodeName(path(QStringLiteral("dst/src/sub"))).constData(), "user.DOSATTRIB", value, sizeof value), 4);
        EXPECT_STREQ(value, "0x12");
    }
    EXPECT_EQ(contents(path(QStringLiteral("dst/src/sub/big.bin"))), pattern(3 << 20, 1));
    EXPECT_EQ(contents(path(QStringLiteral("dst/src/a.txt"))), "alpha");
    const QFileInfo link(path(QStringLiteral("dst/src/link")));
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()), path(QStringLiteral("dst/src/sub/big.bin")));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(path(QStringLiteral("dst/src/pipe"))).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("dst/src/a.txt"))).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0741u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 5);
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("dst/src/sub"))).constData(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000); // set after its contents were written
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(FileOperationTest, TargetsFollowTheShellRules)
{
    makeFile(QStringLiteral("work/one.txt"), "1");
    makeFile(QStringLiteral("work/two.txt"), "2");
    // One source to a path that is not a folder: the new name.
    ASSERT_TRUE(RunTransfer(FileOperationKind::Copy, {path(QStringLiteral("one.txt"))}, {path(QStringLiteral("renamed.txt"))}));
    EXPECT_EQ(contents(path(QStringLiteral("renamed.txt"))), "1");
    // Several sources to a folder that does not exist yet: made, and both go in.
    ASSERT_TRUE(RunTransfer(FileOperationKind::Copy, {path(QStringLiteral("one.txt")), path(QStringLiteral("two.txt"))},
                            {path(QStringLiteral("new"))}));
    EXPECT_EQ(entriesBelow(path(QStringLiteral("new"))), (QStringList{QStringLiteral("one.txt"), QStringLiteral("two.txt")}));
    // One target per source.
    ASSERT_TRUE(RunTransfer(FileOperationKind::Move, {path(QStringLiteral("one.txt")), path(QStringLiteral("two.txt"))},
                            {path(QStringLiteral("x1")), path(QStringLiteral("x2"))}));
    EXPECT_EQ(contents(path(QStringLiteral("x2"))), "2");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("two.txt"))));
    // The path list form.
    EXPECT_EQ(FromPathList(ToPathList({QStringLiteral("/a"), QStringLiteral("/b c")})), (QStringList{QStringLiteral("/a"), QStringLiteral("/b c")}));
    EXPECT_EQ(ToPathList({QStringLiteral("/a")}), QStringLiteral("/a") + QChar(0) + QChar(0));
}

TEST_F(FileOperationTest, ReplaceQuestionNamesTheFileAndBothSizes)
{
    makeFile(QStringLiteral("work/src/a.txt"), "new a");
    makeFile(QStringLiteral("work/src/b.txt"), "new b");
    makeFile(QStringLiteral("work/src/c.txt"), "new c");
    makeFile(QStringLiteral("work/dst/src/a.txt"), "old");
    makeFile(QStringLiteral("work/dst/src/b.txt"), "old");
    makeFile(QStringLiteral("work/dst/src/c.txt"), "old");

    prompter().answer(PromptButton::No).answer(PromptButton::YesToAll);
    const FileOperationResult result = RunFileOperation(FileOperationKind::Copy, {path(QStringLiteral("src"))},
                                                        {path(QStringLiteral("dst"))});
    EXPECT_TRUE(result.ok());
    ASSERT_EQ(prompter().records().size(), 2); // Yes to All answers the rest
    const PromptRecord& first = prompter().records()[0];
    EXPECT_EQ(first.caption, QStringLiteral("Confirm File Replace"));
    EXPECT_EQ(first.buttons, PromptButton::Yes | PromptButton::YesToAll | PromptButton::No | PromptButton::Cancel);
    EXPECT_TRUE(first.text.startsWith(QStringLiteral("This folder already contains a file named \"a.txt\".")));
    EXPECT_TRUE(first.text.contains(QStringLiteral("    3 bytes\r\n    modified on ")));
    EXPECT_TRUE(first.text.contains(QStringLiteral("with this one?\r\n\r\n    5 bytes")));
    EXPECT_EQ(contents(path(QStringLiteral("dst/src/a.txt"))), "old");
    EXPECT_EQ(contents(path(QStringLiteral("dst/src/b.txt"))), "new b");
    EXPECT_EQ(contents(path(QStringLiteral("dst/src/c.txt"))), "new c");
}

// Replacing an existing file flushes the new bytes before the rename puts them over the old
// file, so a crash cannot leave the name pointing at data that never reached the disk. A new
// copy (no file to lose) is not flushed, so it stays fast.
TEST_F(FileOperationTest, AReplacingCopyIsFlushedBeforeItTakesTheName)
{
    const struct {
        const char* name;
        bool existing;
        QStringList steps;
    } cases[] = {
        {"replace", true, {QStringLiteral("sync"), QStringLiteral("rename")}},
        {"new copy", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString src = makeFile(QStringLiteral("work/src/a.txt"), "new bytes");
        const QString target = path(QStringLiteral("dst/a.txt"));
        QFile::remove(target);
        if (c.existing)
            makeFile(QStringLiteral("work/dst/a.txt"), "old");
        else
            QDir().mkpath(path(QStringLiteral("dst")));
        QStringList steps;
        TransferFaults faults;
        faults.replaceStep = [&](const char* step) {
            steps << QString::fromLatin1(step);
            if (QLatin1String(step) == QLatin1String("rename")) {
                EXPECT_EQ(contents(target), c.existing ? QByteArray("old") : QByteArray()) << "the old file stays until the rename";
            }
        };
        TransferFaults::set(faults);
        if (c.existing)
            prompter().answer(PromptButton::Yes);
        const FileOperationResult result = RunFileOperation(FileOperationKind::Copy, {src}, {path(QStringLiteral("dst"))});
        TransferFaults::clear();
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(contents(target), "new bytes");
    }
}

TEST_F(FileOperationTest, CancelInTheQuestionStopsAndReportsAborted)
{
    for (const char* name : {"a", "b", "c"}) {
        makeFile(QStringLiteral("work/src/") + QLatin1String(name), "new");
        if (QLatin1String(name) != QLatin1String("c"))
            makeFile(QStringLiteral("work/dst/") + QLatin1String(name), "old");
    }
    prompter().answer(PromptButton::Yes).answer(PromptButton::Cancel);
    const QStringList sources = {path(QStringLiteral("src/a")), path(QStringLiteral("src/b")), path(QStringLiteral("src/c"))};
    const FileOperationResult result = RunFileOperation(FileOperationKind::Move, sources, {path(QStringLiteral("dst"))});
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(contents(path(QStringLiteral("dst/a"))), "new");
    EXPECT_EQ(contents(path(QStringLiteral("dst/b"))), "old");
    EXPECT_EQ(contents(path(QStringLiteral("src/b"))), "new");
    EXPECT_EQ(contents(path(QStringLiteral("src/c"))), "new"); // never reached
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("dst/c"))));
}

struct Fault {
    const char* name;
    std::int64_t writeAfter;
    int writeError;
    std::int64_t readAfter;
    int readError;
    bool vanish;
    const char* reason;
};

const Fault kFaults[] = {
    {"no space after 1 MiB", 1 << 20, ENOSPC, -1, 0, false, "No space left on device"},
    {"I/O error on write at once", 0, EIO, -1, 0, false, "Input/output error"},
    {"I/O error on read after 100 KiB", -1, 0, 100 << 10, EIO, false, "Input/output error"},
    {"source vanishes", -1, 0, -1, 0, true, "No such file or directory"},
};

// Copies and moves (a rename on one volume cannot fail half-way, so the move goes to another
// volume) of a folder whose second file fails; a replace of an existing file that fails too.
TEST_F(FileOperationTest, FailuresLoseNothingAndLeaveNoPartialFile)
{
    const QString other = otherVolume();
    for (const Fault& fault : kFaults) {
        for (const FileOperationKind kind : {FileOperationKind::Copy, FileOperationKind::Move}) {
            const bool move = kind == FileOperationKind::Move;
            SCOPED_TRACE(std::string(fault.name) + (move ? " (move)" : " (copy)"));
            if (move && other.isEmpty()) {
                ADD_FAILURE() << "no second file system (/dev/shm) for a move across volumes";
                continue;
            }
            const QString src = makeFolder(QStringLiteral("work/src"));
            makeFile(QStringLiteral("work/src/1.bin"), pattern(2 << 20, 1));
            makeFile(QStringLiteral("work/src/2.bin"), pattern(3 << 20, 2));
            makeFile(QStringLiteral("work/src/3.bin"), pattern(1000, 3));
            const QString target = move ? other + QStringLiteral("/t") : path(QStringLiteral("t"));
            QDir().mkpath(target);
            makeFile(QStringLiteral("work/existing.bin"), "keep me");
            QFile::copy(path(QStringLiteral("existing.bin")), target + QStringLiteral("/3.bin"));

            TransferFaults faults;
            faults.beforeItem = [&](const QString& item) {
                if (!item.endsWith(QLatin1String("2.bin")))
                    return;
                TransferFaults armed = TransferFaults::current();
                armed.failWriteAfter = fault.writeAfter;
                armed.writeError = fault.writeError;
                armed.failReadAfter = fault.readAfter;
                armed.readError = fault.readError;
                armed.beforeItem = {};
                TransferFaults::set(armed);
                if (fault.vanish)
                    QFile::rename(item, path(QStringLiteral("moved-away")));
            };
            TransferFaults::set(faults);
            prompter().answer(PromptButton::Ok);
            const FileOperationResult result = RunFileOperation(kind, {src}, {target});
            TransferFaults::clear();

            EXPECT_FALSE(result.ok());
            EXPECT_FALSE(result.aborted);
            EXPECT_EQ(prompter().last().kind, PromptKind::Error);
            EXPECT_EQ(prompter().last().text, QStringLiteral("Cannot ") + (move ? QStringLiteral("move") : QStringLiteral("copy"))
                                                  + QStringLiteral(" \"") + src + QStringLiteral("/2.bin\":\r\n")
                                                  + QLatin1String(fault.reason));
            // The source is whole, the target has only what was complete, nothing partial.
            EXPECT_EQ(contents(src + QStringLiteral("/1.bin")), pattern(2 << 20, 1));
            EXPECT_EQ(contents(fault.vanish ? path(QStringLiteral("moved-away")) : src + QStringLiteral("/2.bin")), pattern(3 << 20, 2));
            EXPECT_EQ(contents(target + QStringLiteral("/src/1.bin")), pattern(2 << 20, 1));
            EXPECT_EQ(entriesBelow(target), (QStringList{QStringLiteral("3.bin"), QStringLiteral("src"), QStringLiteral("src/1.bin")}));
            EXPECT_EQ(contents(target + QStringLiteral("/3.bin")), "keep me");

            // Replacing an existing file that then fails keeps the old file.
            if (!fault.vanish) {
                TransferFaults replaceFault;
                replaceFault.failWriteAfter = fault.writeAfter;
                replaceFault.writeError = fault.writeError;
                replaceFault.failReadAfter = fault.readAfter;
                replaceFault.readError = fault.readError;
                TransferFaults::set(replaceFault);
                prompter().answer(PromptButton::Yes).answer(PromptButton::Ok);
                EXPECT_FALSE(RunTransfer(FileOperationKind::Copy, {src + QStringLiteral("/2.bin")}, {target + QStringLiteral("/3.bin")}));
                TransferFaults::clear();
                EXPECT_EQ(contents(target + QStringLiteral("/3.bin")), "keep me");
                EXPECT_EQ(entriesBelow(target).size(), 3);
            }
            QDir(src).removeRecursively();
            QDir(target).removeRecursively();
            QFile::remove(path(QStringLiteral("moved-away")));
            prompter().clear();
        }
    }
}

TEST_F(FileOperationTest, MoveAcrossVolumesRemovesSourcesOnlyAfterTheWholeCopy)
{
    const QString other = otherVolume();
    if (other.isEmpty())
        GTEST_SKIP() << "no second file system (/dev/shm) for a move across volumes";
    makeFile(QStringLiteral("work/src/a/deep.txt"), "deep");
    makeFile(QStringLiteral("work/src/b.bin"), pattern(1 << 20, 9));
    QFile::link(QStringLiteral("b.bin"), path(QStringLiteral("src/l")));
    ASSERT_TRUE(RunTransfer(FileOperationKind::Move, {path(QStringLiteral("src"))}, {other}));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("src"))));
    EXPECT_EQ(contents(other + QStringLiteral("/src/a/deep.txt")), "deep");
    EXPECT_EQ(contents(other + QStringLiteral("/src/b.bin")), pattern(1 << 20, 9));
    EXPECT_TRUE(QFileInfo(other + QStringLiteral("/src/l")).isSymLink());

    // A file the user keeps (No) stays at the source, with its folder.
    makeFile(QStringLiteral("work/src2/keep.txt"), "mine");
    makeFile(QStringLiteral("work/src2/go.txt"), "go");
    QDir().mkpath(other + QStringLiteral("/src2"));
    QFile(other + QStringLiteral("/src2/keep.txt")).open(QIODevice::WriteOnly);
    prompter().answer(PromptButton::No);
    EXPECT_TRUE(RunTransfer(FileOperationKind::Move, {path(QStringLiteral("src2"))}, {other}));
    EXPECT_EQ(entriesBelow(path(QStringLiteral("src2"))), QStringList{QStringLiteral("keep.txt")});
    EXPECT_EQ(contents(other + QStringLiteral("/src2/go.txt")), "go");
}

TEST_F(FileOperationTest, TransfersOntoThemselvesAreRefusedBeforeAnythingStarts)
{
    makeFile(QStringLiteral("work/f/sub/x.txt"), "x");
    makeFile(QStringLiteral("work/f/y.txt"), "y");
    QFile::link(path(QStringLiteral("f")), path(QStringLiteral("alias")));
    QFile::link(path(QStringLiteral("f/sub")), path(QStringLiteral("inner")));
    const struct {
        FileOperationKind kind;
        QStringList sources;
        QString target;
        QString text;
    } cases[] = {
        {FileOperationKind::Copy, {path(QStringLiteral("f"))}, path(QStringLiteral("f/sub")),
         QStringLiteral("Cannot copy \"") + path(QStringLiteral("f")) + QStringLiteral("\":\r\nThe destination folder is a subfolder of the source folder.")},
        {FileOperationKind::Move, {path(QStringLiteral("f"))}, path(QStringLiteral("f/sub/new/deeper")),
         QStringLiteral("Cannot move \"") + path(QStringLiteral("f")) + QStringLiteral("\":\r\nThe destination folder is a subfolder of the source folder.")},
        {FileOperationKind::Copy, {path(QStringLiteral("f"))}, path(QStringLiteral("alias/sub")), // same folder by inode
         QStringLiteral("Cannot copy \"") + path(QStringLiteral("f")) + QStringLiteral("\":\r\nThe destination folder is a subfolder of the source folder.")},
        {FileOperationKind::Copy, {path(QStringLiteral("f"))}, path(QStringLiteral("inner/new")), // a link into the source
         QStringLiteral("Cannot copy \"") + path(QStringLiteral("f")) + QStringLiteral("\":\r\nThe destination folder is a subfolder of the source folder.")},
        {FileOperationKind::Copy, {path(QStringLiteral("f/y.txt"))}, path(QStringLiteral("f/y.txt")),
         QStringLiteral("Cannot copy \"") + path(QStringLiteral("f/y.txt")) + QStringLiteral("\":\r\nThe source and destination file names are the same.")},
        {FileOperationKind::Move, {path(QStringLiteral("alias/y.txt"))}, path(QStringLiteral("f/y.txt")),
         QStringLiteral("Cannot move \"") + path(QStringLiteral("alias/y.txt")) + QStringLiteral("\":\r\nThe source and destination file names are the same.")},
    };
    const QStringList before = entriesBelow(m_root);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        prompter().answer(PromptButton::Ok);
        EXPECT_FALSE(RunTransfer(c.kind, c.sources, {c.target}));
        EXPECT_EQ(prompter().last().text, c.text);
        EXPECT_EQ(entriesBelow(m_root), before);
    }
}

// While a file's bytes are being copied, its name is not in the target folder yet: a crash,
// a kill or a power cut in the middle never leaves a cut-off file that looks like the copy.
TEST_F(FileOperationTest, ACopyAppearsUnderItsNameOnlyWhenComplete)
{
    const QString other = otherVolume();
    if (other.isEmpty())
        GTEST_SKIP() << "no second file system (/dev/shm) for a move across volumes";
    const QByteArray bytes = pattern(20 << 20, 5);
    const struct {
        const char* name;
        FileOperationKind kind;
        QString target;
    } cases[] = {
        {"copy on one volume", FileOperationKind::Copy, path(QStringLiteral("t"))},
        {"move across volumes", FileOperationKind::Move, other + QStringLiteral("/t")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString src = makeFile(QStringLiteral("work/big.bin"), bytes);
        QDir().mkpath(c.target);
        const QString copy = c.target + QStringLiteral("/big.bin");
        QStringList seen;
        TransferFaults faults;
        faults.afterChunk = [&](std::int64_t written) {
            if (written < bytes.size())
                seen << QDir(c.target).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        };
        TransferFaults::set(faults);
        const bool ok = RunTransfer(c.kind, {src}, {c.target + QLatin1Char('/')});
        TransferFaults::clear();
        ASSERT_TRUE(ok);
        EXPECT_EQ(seen, QStringList());
        EXPECT_EQ(contents(copy), bytes);
        QFile::remove(copy);
        QFile::remove(src);
    }
}

// A folder that meets a link of its name in the target is never merged through the link
// (its files would land in whatever folder the link names, and a move would then remove the
// sources), nor does it replace a file: both are refused, on one volume and across two.
TEST_F(FileOperationTest, AFolderIsNeverMergedThroughALinkOrOverAFile)
{
    const QString other = otherVolume();
    if (other.isEmpty())
        GTEST_SKIP() << "no second file system (/dev/shm) for a move across volumes";
    const struct {
        const char* name;
        FileOperationKind kind;
        bool otherVolume;
        bool link;
    } cases[] = {
        {"copy onto a link", FileOperationKind::Copy, false, true},
        {"move across volumes onto a link", FileOperationKind::Move, true, true},
        {"copy onto a file", FileOperationKind::Copy, false, false},
        {"move across volumes onto a file", FileOperationKind::Move, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString src = makeFile(QStringLiteral("work/A/inner.txt"), "mine");
        const QString elsewhere = makeFile(QStringLiteral("work/elsewhere/own.txt"), "theirs");
        const QString target = c.otherVolume ? other + QStringLiteral("/t") : path(QStringLiteral("t"));
        QDir().mkpath(target);
        if (c.link)
            ASSERT_TRUE(QFile::link(QFileInfo(elsewhere).path(), target + QStringLiteral("/A")));
        else
            ASSERT_TRUE(QFile(target + QStringLiteral("/A")).open(QIODevice::WriteOnly));
        prompter().answer(PromptButton::Ok);
        ASSERT_FALSE(RunTransfer(c.kind, {path(QStringLiteral("A"))}, {target}));
        EXPECT_EQ(prompter().last().text, QStringLiteral("Cannot ")
                                              + (c.kind == FileOperationKind::Move ? QStringLiteral("move") : QStringLiteral("copy"))
                                              + QStringLiteral(" \"") + path(QStringLiteral("A"))
                                              + QStringLiteral("\":\r\nA file or folder with the same name exists in the destination."));
        EXPECT_EQ(contents(src), "mine");
        EXPECT_EQ(entriesBelow(QFileInfo(elsewhere).path()), QStringList{QStringLiteral("own.txt")});
        EXPECT_EQ(QFileInfo(target + QStringLiteral("/A")).isSymLink(), c.link);
        QDir(path(QStringLiteral("A"))).removeRecursively();
        QDir(QFileInfo(elsewhere).path()).removeRecursively();
        QFile::remove(target + QStringLiteral("/A"));
    }
}

TEST_F(FileOperationTest, RenameNeverReplaces)
{
    makeFile(QStringLiteral("work/a.txt"), "a");
    makeFile(QStringLiteral("work/b.txt"), "b");
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(RunTransfer(FileOperationKind::Rename, {path(QStringLiteral("a.txt"))}, {QStringLiteral("b.txt")},
                             FileOperationFlag::AllowUndo | FileOperationFlag::Silent));
    EXPECT_EQ(prompter().last().text, QStringLiteral("Cannot rename \"") + path(QStringLiteral("a.txt"))
                                          + QStringLiteral("\":\r\nA file or folder with the name \"b.txt\" already exists."));
    EXPECT_EQ(contents(path(QStringLiteral("b.txt"))), "b");
    EXPECT_TRUE(RunTransfer(FileOperationKind::Rename, {path(QStringLiteral("a.txt"))}, {QStringLiteral("c.txt")}));
    EXPECT_EQ(contents(path(QStringLiteral("c.txt"))), "a");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.txt"))));
}

// Cancels the job when it reaches a given item, as the progress dialog's Cancel would.
class CancellingWaiter final : public JobWaiter {
public:
    explicit CancellingWaiter(QString at) : m_at(std::move(at)) {}
    void wait(JobRunner& runner, const QString&) override
    {
        TransferFaults faults;
        faults.beforeItem = [&](const QString& item) {
            if (item.endsWith(m_at))
                runner.cancel();
        };
        TransferFaults::set(faults);
        runner.start();
        while (!runner.isFinished())
            QThread::msleep(1);
    }

private:
    QString m_at;
};

TEST_F(FileOperationTest, CancelDuringACopyRemovesThePartialFile)
{
    makeFile(QStringLiteral("work/src/1"), pattern(1000, 1));
    makeFile(QStringLiteral("work/src/2"), pattern(20 << 20, 2));
    makeFile(QStringLiteral("work/src/3"), pattern(1000, 3));
    CancellingWaiter waiter(QStringLiteral("/2"));
    JobWaiter::setInstance(&waiter);
    const FileOperationResult result = RunFileOperation(FileOperationKind::Copy, {path(QStringLiteral("src"))},
                                                        {path(QStringLiteral("dst/"))});
    JobWaiter::setInstance(nullptr);
    EXPECT_TRUE(result.aborted);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(entriesBelow(path(QStringLiteral("dst"))), (QStringList{QStringLiteral("src"), QStringLiteral("src/1")}));
    EXPECT_EQ(entriesBelow(path(QStringLiteral("src"))).size(), 3);
}

} // namespace

namespace {

// Permission cannot be refused to root, so the engine runs as nobody through fvtool.
TEST_F(FileOperationTest, PermissionDeniedIsReportedAndLeavesNothing)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const QString bin = qEnvironmentVariable("FOLVANE_BIN_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
    const QString fvtool = bin + QStringLiteral("/fvtool");
    if (::geteuid() != 0 || setpriv.isEmpty() || !QFileInfo(fvtool).isExecutable())
        GTEST_SKIP() << "needs root, setpriv and the built fvtool to run the engine as an unprivileged user";
    const QString source = makeFile(QStringLiteral("work/report.txt"), "data");
    const QString locked = makeFolder(QStringLiteral("work/locked"));
    for (QString dir = locked; dir != QStringLiteral("/"); dir = QFileInfo(dir).path())
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    ::chmod(QFile::encodeName(source).constData(), 0644);

    QProcess process;
    process.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                            fvtool, QStringLiteral("copy"), source, locked + QLatin1Char('/')});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()).trimmed(),
              QStringLiteral("Cannot copy \"") + source + QStringLiteral("\":\nPermission denied"));
    EXPECT_TRUE(entriesBelow(locked).isEmpty());
    EXPECT_EQ(contents(source), "data");
}

} // namespace

namespace {

// Deleting for good never enters another volume. /proc is a mount point whose entries cannot be
// removed anyway, so the check is safe to run even if the guard were broken.
TEST_F(FileOperationTest, DeletingAMountPointIsRefused)
{
    struct stat proc {}, root {};
    if (::stat("/proc", &proc) != 0 || ::stat("/", &root) != 0 || proc.st_dev == root.st_dev)
        GTEST_SKIP() << "/proc is not a mounted volume here";
    prompter().answer(PromptButton::Yes).answer(PromptButton::Ok);
    EXPECT_FALSE(RunTransfer(FileOperationKind::Delete, {QStringLiteral("/proc")}, {}, FileOperationFlag::None));
    EXPECT_EQ(prompter().last().text, QStringLiteral("Cannot delete \"/proc\":\r\n\"/proc\" is a mounted volume and is not deleted."));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/proc/self")));
}

} // namespace

namespace {

// A move to another volume copies, then removes the sources: a volume mounted in the moved
// tree (or the moved folder being a mount itself) would be emptied. Like delete, the move is
// refused before anything is copied. The mount is made in a private mount namespace, so the
// engine runs there through fvtool.
TEST_F(FileOperationTest, AMoveAcrossVolumesNeverEmptiesAVolumeMountedInTheTree)
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    const QString bin = qEnvironmentVariable("FOLVANE_BIN_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
    const QString fvtool = bin + QStringLiteral("/fvtool");
    const QString other = otherVolume();
    if (::geteuid() != 0 || unshare.isEmpty() || !QFileInfo(fvtool).isExecutable() || other.isEmpty())
        GTEST_SKIP() << "needs root, unshare, the built fvtool and a second file system (/dev/shm)";
    const QString tree = QFileInfo(makeFile(QStringLiteral("work/tree/top.txt"), "top")).path();
    makeFolder(QStringLiteral("work/tree/vol"));
    const QString script = QStringLiteral(
        "mount -t tmpfs none \"$1/vol\" || exit 77\n"
        "echo inner > \"$1/vol/inner.txt\"\n"
        "\"$3\" move \"$4\" \"$2/\"; echo \"rc=$?\"\n"
        "test -f \"$1/vol/inner.txt\" && echo kept-inner\n"
        "test -f \"$1/top.txt\" && echo kept-top\n"
        "ls -A \"$2\"\n");
    const struct {
        const char* name;
        QString moved;
    } cases[] = {
        {"a volume mounted inside the tree", tree},
        {"the moved folder is the volume", tree + QStringLiteral("/vol")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        process.start(unshare, {QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private"),
                                QStringLiteral("sh"), QStringLiteral("-c"), script, QStringLiteral("sh"), tree, other, fvtool, c.moved});
        ASSERT_TRUE(process.waitForFinished(30000));
        if (process.exitCode() == 77)
            GTEST_SKIP() << "cannot mount a tmpfs here";
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), QStringLiteral("rc=1\nkept-inner\nkept-top\n"));
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()).trimmed(),
                  QStringLiteral("Cannot move \"") + tree + QStringLiteral("/vol\":\nA volume is mounted there; it is not moved."));
    }
    EXPECT_EQ(entriesBelow(tree), (QStringList{QStringLiteral("top.txt"), QStringLiteral("vol")}));
}

// Names inside a tree are handled as the bytes they are: invalid UTF-8, a newline, a leading
// dash, a percent sign all arrive unchanged.
TEST_F(FileOperationTest, NamesInsideATreeAreCopiedByteForByte)
{
    const QByteArray folder = QFile::encodeName(makeFolder(QStringLiteral("work/odd")));
    const QByteArray names[] = {"\xff\xfe latin1 \xe9", "line\nbreak", "-rf", "100%", " spaced "};
    for (const QByteArray& name : names) {
        const int fd = ::open(QByteArray(folder + '/' + name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, name.constData(), std::size_t(name.size())), name.size());
        ::close(fd);
    }
    ASSERT_TRUE(RunTransfer(FileOperationKind::Copy, {path(QStringLiteral("odd"))}, {path(QStringLiteral("copy"))}));
    ASSERT_TRUE(RunTransfer(FileOperationKind::Move, {path(QStringLiteral("copy"))}, {path(QStringLiteral("moved"))}));
    for (const QByteArray& name : names) {
        const QByteArray copied = QFile::encodeName(path(QStringLiteral("moved"))) + '/' + name;
        char bytes[64] = {};
        const int fd = ::open(copied.constData(), O_RDONLY);
        ASSERT_GE(fd, 0) << name.toHex().constData();
        EXPECT_EQ(::read(fd, bytes, sizeof bytes), name.size());
        ::close(fd);
        EXPECT_EQ(QByteArray(bytes, int(name.size())), name);
    }
}

} // namespace
