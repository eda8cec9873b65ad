// The transfer commands against the real file operation: the shared clipboard mode, pastes
// from this program and from the system clipboard, a folder pasted into itself, a failing
// move that loses nothing, delete, rename, new names, copy to and the enabling rules.
#include "FakePanes.h"

#include "fileops/FileDropMime.h"
#include "fileops/TransferCommands.h"
#include "fileops/WorkList.h"
#include "platform/TransferFaults.h"

#include "support/TempHome.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/stat.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class TransferCommandsTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        QGuiApplication::clipboard()->clear();
        m_commands.setAfterChange([this] { ++m_afterChanges; });
    }
    void TearDown() override
    {
        TransferFaults::clear();
        TempHomeTest::TearDown();
    }

    FakePanes m_panes;
    FileClipboard m_clipboard;
    TransferCommands m_commands{m_panes, m_clipboard};
    int m_afterChanges = 0;
};

TEST_F(TransferCommandsTest, TreeAndListShareOneTransferMode)
{
    makeFile(QStringLiteral("a/one.txt"), "one");
    makeFile(QStringLiteral("a/sub/deep.txt"), "deep");
    const QString a = home().root() + QStringLiteral("/a");
    const QString b = makeFolder(QStringLiteral("b"));

    // Copy in the list, cut in the tree, paste in the list: the list's source is moved.
    m_panes.showFolder(a);
    m_panes.select({QStringLiteral("one.txt")});
    m_commands.copyList(false);
    EXPECT_EQ(m_clipboard.mode(), TransferMode::Copy);
    m_panes.treePath = a + QStringLiteral("/sub");
    m_commands.copyTree(true);
    EXPECT_EQ(m_clipboard.mode(), TransferMode::Move);
    EXPECT_TRUE(m_clipboard.pastePending());
    m_panes.showFolder(b);
    m_commands.pasteList();
    EXPECT_EQ(namesIn(b), QStringList{QStringLiteral("one.txt")});
    EXPECT_FALSE(QFileInfo::exists(a + QStringLiteral("/one.txt")));
    EXPECT_EQ(m_panes.rebuiltAt.last(), b);

    // Copy in the tree, cut in the list: the tree's paste moves its folder too.
    m_panes.showFolder(a);
    m_panes.treePath = a + QStringLiteral("/sub");
    m_commands.copyTree(false);
    m_panes.showFolder(b);
    m_panes.select({QStringLiteral("one.txt")});
    m_commands.copyList(true);
    m_panes.treePath = b;
    EXPECT_TRUE(m_commands.pasteTree());
    EXPECT_EQ(contents(b + QStringLiteral("/sub/deep.txt")), "deep");
    EXPECT_FALSE(QFileInfo::exists(a + QStringLiteral("/sub")));
    EXPECT_FALSE(m_clipboard.pastePending());
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(TransferCommandsTest, SecondPasteRepeatsTheCopyThroughTheSystemClipboard)
{
    makeFile(QStringLiteral("src/a.txt"), "a");
    makeFile(QStringLiteral("src/b.txt"), "b");
    const QString first = makeFolder(QStringLiteral("first"));
    const QString second = makeFolder(QStringLiteral("second"));
    m_panes.showFolder(home().root() + QStringLiteral("/src"));
    m_panes.rows[0].selected = true; // the parent row never goes along
    m_panes.select({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral(" Up")});
    m_commands.copy(false);

    m_panes.showFolder(first);
    m_commands.paste();
    EXPECT_TRUE(m_clipboard.listPaths().isEmpty());
    m_panes.showFolder(second);
    m_commands.paste();
    const QStringList both{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    EXPECT_EQ(namesIn(first), both);
    EXPECT_EQ(namesIn(second), both);
    EXPECT_EQ(m_afterChanges, 2);
}

TEST_F(TransferCommandsTest, CutFilesOncePastedAreNotOfferedAgain)
{
    makeFile(QStringLiteral("src/a.txt"), "a");
    makeFile(QStringLiteral("src/keep.txt"), "k");
    const QString first = makeFolder(QStringLiteral("first"));
    const QString second = makeFolder(QStringLiteral("second"));
    m_panes.showFolder(home().root() + QStringLiteral("/src"));
    m_panes.select({QStringLiteral("a.txt")});
    m_commands.copy(true);
    m_panes.showFolder(first);
    ASSERT_TRUE(m_commands.listPopupState().paste);
    m_commands.paste();
    ASSERT_EQ(namesIn(first), QStringList{QStringLiteral("a.txt")});

    // Paste is off, and Ctrl+V anyway says there is nothing rather than failing on a.txt.
    EXPECT_FALSE(m_commands.listPopupState().paste);
    m_panes.showFolder(second);
    prompter().answer(PromptButton::Ok);
    m_commands.paste();
    EXPECT_EQ(prompter().last().text, QStringLiteral("No file(s) selected"));
    EXPECT_TRUE(namesIn(second).isEmpty());

    // The same for files another program cut.
    auto* mime = new QMimeData;
    const QString keep = home().root() + QStringLiteral("/src/keep.txt");
    mime->setData(QString::fromLatin1(FileDropMime::kGnomeCopiedFiles), "cut\n" + QUrl::fromLocalFile(keep).toEncoded());
    QGuiApplication::clipboard()->setMimeData(mime);
    ASSERT_TRUE(m_commands.listPopupState().paste);
    m_commands.paste();
    EXPECT_EQ(namesIn(second), QStringList{QStringLiteral("keep.txt")});
    EXPECT_FALSE(QFileInfo::exists(keep));
    EXPECT_FALSE(m_commands.listPopupState().paste);
}

// A paste that meets a file of the same name asks first; Cancel there leaves the files before
// it copied, the existing file as it was, and nothing of the files after it.
TEST_F(TransferCommandsTest, ConflictAsksAndCancelStopsCleanly)
{
    makeFile(QStringLiteral("from/a.txt"), "new a");
    makeFile(QStringLiteral("from/b.txt"), "new b");
    makeFile(QStringLiteral("from/c.txt"), "new c");
    const QString to = makeFolder(QStringLiteral("to"));
    makeFile(QStringLiteral("to/b.txt"), "old b");
    m_panes.showFolder(home().root() + QStringLiteral("/from"));
    m_panes.select({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    m_commands.copyList(false);
    m_panes.showFolder(to);
    prompter().answer(PromptButton::Cancel);
    m_commands.pasteList();
    EXPECT_EQ(prompter().last().caption, QStringLiteral("Confirm File Replace"));
    EXPECT_TRUE(prompter().last().text.startsWith(QStringLiteral("This folder already contains a file named \"b.txt\".")));
    EXPECT_EQ(contents(to + QStringLiteral("/a.txt")), "new a");
    EXPECT_EQ(contents(to + QStringLiteral("/b.txt")), "old b");
    EXPECT_FALSE(QFileInfo::exists(to + QStringLiteral("/c.txt")));
    EXPECT_EQ(m_panes.refreshes, 1); // the list is re-read whatever the result

    // Yes replaces (a.txt and b.txt are there now), and a second paste repeats the source.
    prompter().answer(PromptButton::Yes).answer(PromptButton::Yes);
    m_commands.pasteList();
    EXPECT_EQ(contents(to + QStringLiteral("/b.txt")), "new b");
    EXPECT_EQ(contents(to + QStringLiteral("/c.txt")), "new c");
}

TEST_F(TransferCommandsTest, PasteWithNothingToPasteWarns)
{
    m_panes.showFolder(makeFolder(QStringLiteral("empty")));
    prompter().answer(PromptButton::Ok);
    m_commands.pasteList();
    EXPECT_EQ(prompter().last().kind, PromptKind::Warning);
    EXPECT_EQ(prompter().last().text, QStringLiteral("No file(s) selected"));
    EXPECT_EQ(m_panes.refreshes, 0);
}

TEST_F(TransferCommandsTest, DriveCopiedInTheTreePastesItsContents)
{
    const QString drive = makeFolder(QStringLiteral("drive"));
    makeFile(QStringLiteral("drive/top.txt"), "top");
    makeFile(QStringLiteral("drive/.hidden"), "h");
    makeFile(QStringLiteral("drive/folder/in.txt"), "in");
    const QString target = makeFolder(QStringLiteral("target"));
    m_panes.treePath = drive;
    m_panes.level = 1;
    m_commands.copyTree(false);
    EXPECT_EQ(m_clipboard.treeSource().folder, drive);
    EXPECT_TRUE(m_clipboard.treeSource().driveContents);
    m_panes.treePath = target;
    m_panes.level = 2;
    EXPECT_TRUE(m_commands.pasteTree());
    EXPECT_EQ(namesIn(target), (QStringList{QStringLiteral(".hidden"), QStringLiteral("folder"), QStringLiteral("top.txt")}));
    EXPECT_EQ(contents(target + QStringLiteral("/folder/in.txt")), "in");
}

// A folder whose name ends in "*" (or is "*") is cut and pasted as itself: only a drive
// copied at the tree's top stands for its contents, never a name that looks like a mark.
TEST_F(TransferCommandsTest, FolderNamedWithAStarMovesOnlyItself)
{
    const QStringList cases{QStringLiteral("foo*"), QStringLiteral("*")};
    for (const QString& name : cases) {
        SCOPED_TRACE(name.toStdString());
        const QString rel = QStringLiteral("star/case") + QString::number(cases.indexOf(name)) + QLatin1Char('/');
        const QString root = makeFolder(rel);
        makeFile(rel + QStringLiteral("foo/keep.txt"), "keep");
        makeFile(rel + name + QStringLiteral("/go.txt"), "go");
        const QString target = makeFolder(rel + QStringLiteral("target"));
        m_panes.treePath = root + QLatin1Char('/') + name;
        m_panes.level = 2;
        m_commands.copyTree(true);
        m_panes.treePath = target;
        EXPECT_TRUE(m_commands.pasteTree());
        EXPECT_EQ(namesIn(root), (QStringList{QStringLiteral("foo"), QStringLiteral("target")}));
        EXPECT_EQ(namesIn(target), QStringList{name});
        EXPECT_EQ(contents(target + QLatin1Char('/') + name + QStringLiteral("/go.txt")), "go");
        EXPECT_EQ(contents(root + QStringLiteral("/foo/keep.txt")), "keep");
    }
}

// A folder pasted into itself or into one of its subfolders is refused before anything is
// made, from the list and from the tree (the tree says its own failure line after the reason).
TEST_F(TransferCommandsTest, FolderPastedIntoItselfIsRefused)
{
    const QString folder = makeFolder(QStringLiteral("p/folder"));
    makeFile(QStringLiteral("p/folder/sub/x.txt"), "x");
    const QString reason = QStringLiteral("Cannot copy \"") + folder
        + QStringLiteral("\":\r\nThe destination folder is a subfolder of the source folder.");
    for (const QString& into : QStringList{folder, folder + QStringLiteral("/sub")}) {
        SCOPED_TRACE(into.toStdString());
        m_panes.showFolder(home().root() + QStringLiteral("/p"));
        m_panes.select({QStringLiteral("folder")});
        m_commands.copyList(false);
        m_panes.showFolder(into);
        prompter().answer(PromptButton::Ok);
        m_commands.pasteList();
        EXPECT_EQ(prompter().texts(), QStringList{reason});
        prompter().clear();

        m_panes.treePath = folder;
        m_commands.copyTree(false);
        m_panes.treePath = into;
        prompter().answer(PromptButton::Ok).answer(PromptButton::Ok);
        EXPECT_FALSE(m_commands.pasteTree());
        EXPECT_EQ(prompter().texts(), (QStringList{reason, QStringLiteral("File operation failed")}));
        prompter().clear();
        EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("sub")});
        EXPECT_EQ(namesIn(folder + QStringLiteral("/sub")), QStringList{QStringLiteral("x.txt")});
    }
}

// A move of 100 files to another volume whose 37th write fails: 36 moved, the 37th whole at
// its source and absent from the target, the rest never touched.
TEST_F(TransferCommandsTest, FailedWriteInTheMiddleOfAMoveLosesNothing)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/fvfileops-XXXXXX"));
    struct stat a {}, b {};
    if (!other.isValid() || ::stat(QFile::encodeName(home().root()).constData(), &a) != 0
        || ::stat(QFile::encodeName(other.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system (/dev/shm) for a move that is not a rename";
    const QString src = makeFolder(QStringLiteral("many"));
    QStringList names;
    for (int i = 0; i < 100; ++i) {
        names << QStringLiteral("f%1.bin").arg(i, 3, 10, QLatin1Char('0'));
        makeFile(QStringLiteral("many/") + names.last(), QByteArray(70000 + i, char('a' + i % 26)));
    }
    m_panes.showFolder(src);
    m_panes.select(names);
    m_commands.copyList(true);

    TransferFaults faults;
    faults.beforeItem = [](const QString& item) {
        if (!item.endsWith(QLatin1String("f036.bin")))
            return;
        TransferFaults armed;
        armed.failWriteAfter = 4096;
        armed.writeError = EIO;
        TransferFaults::set(armed);
    };
    TransferFaults::set(faults);
    m_panes.showFolder(other.path());
    prompter().answer(PromptButton::Ok);
    m_commands.pasteList();
    TransferFaults::clear();

    EXPECT_EQ(prompter().last().text,
              QStringLiteral("Cannot move \"") + src + QStringLiteral("/f036.bin\":\r\nInput/output error"));
    EXPECT_EQ(namesIn(other.path()), names.mid(0, 36));
    EXPECT_EQ(namesIn(src), names.mid(36));
    for (int i = 0; i < 100; ++i) {
        const QString at = (i < 36 ? other.path() : src) + QLatin1Char('/') + names[i];
        EXPECT_EQ(contents(at), QByteArray(70000 + i, char('a' + i % 26))) << names[i].toStdString();
    }
}

TEST_F(TransferCommandsTest, DeleteGoesToTheTrashAfterTheQuestion)
{
    const QString folder = makeFolder(QStringLiteral("d"));
    makeFile(QStringLiteral("d/a.txt"), "a");
    makeFile(QStringLiteral("d/b.txt"), "b");
    m_panes.showFolder(folder);
    m_panes.select({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    prompter().answer(PromptButton::No);
    m_commands.deleteSelected();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Move 2 items to the Trash?"));
    EXPECT_EQ(namesIn(folder).size(), 2);
    EXPECT_EQ(m_panes.refreshes, 0);

    prompter().answer(PromptButton::Yes);
    m_commands.deleteSelected();
    EXPECT_TRUE(namesIn(folder).isEmpty());
    EXPECT_EQ(namesIn(home().dataHome() + QStringLiteral("/Trash/files")).size(), 2);
    EXPECT_EQ(m_panes.rebuiltAt.last(), folder);
}

TEST_F(TransferCommandsTest, TreeDeleteTakesOnlyFoldersBelowTheDrives)
{
    const QString folder = makeFolder(QStringLiteral("t/gone"));
    m_panes.tree = true;
    m_panes.treePath = folder;
    m_panes.level = 1;
    m_commands.deleteSelected(); // a drive: nothing, no question
    EXPECT_TRUE(QFileInfo(folder).isDir());

    m_panes.level = 2;
    QDir(folder).removeRecursively();
    prompter().answer(PromptButton::Ok);
    m_commands.deleteSelected();
    EXPECT_EQ(prompter().last().text, folder + QStringLiteral("not found"));

    QDir().mkpath(folder);
    m_panes.treePath = folder;
    prompter().answer(PromptButton::Yes);
    m_commands.deleteSelected();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(m_panes.rebuiltAt.last(), home().root() + QStringLiteral("/t"));
}

TEST_F(TransferCommandsTest, ListRenameRules)
{
    const QString folder = makeFolder(QStringLiteral("r"));
    struct Case {
        const char* what;
        const char* attributes;
        const char* text;
        bool readOnlyList;
        const char* message;     // the box shown, empty for none
        const char* resultName;  // the file's name afterwards
    };
    const Case cases[] = {
        {"same name does nothing", "A", "name.txt", false, "", "name.txt"},
        {"an empty name does nothing", "A", "", false, "", "name.txt"},
        {"a change of case alone renames", "A", "NAME.txt", false, "", "NAME.txt"},
        {"a new name renames", "A", "other.txt", false, "", "other.txt"},
        {"attribute text R refuses", "R", nullptr, false, "It's ReadOnly", "name.txt"},
        {"attribute text RA is accepted", "RA", "x.txt", false, "", "x.txt"},
        {"a read-only list refuses", "A", nullptr, true, "It's ReadOnly", "name.txt"},
        {"a slash is not part of a name", "A", "sub/x.txt", false, "Error - Invalid File Name\rsub/x.txt", "name.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        makeFile(QStringLiteral("r/name.txt"), "n");
        m_panes.showFolder(folder);
        m_panes.readOnly = c.readOnlyList;
        m_panes.select({QStringLiteral("name.txt")});
        m_panes.rows[1].attributes = QLatin1String(c.attributes);
        m_panes.renameStarted.clear();
        if (*c.message)
            prompter().answer(PromptButton::Ok);
        m_commands.startRename();
        if (c.text) {
            ASSERT_EQ(m_panes.renameStarted, QStringList{folder + QStringLiteral("/name.txt")});
            m_commands.renameListItem(m_panes.renameStarted.first(), QLatin1String(c.text), QStringLiteral("file"));
        } else {
            EXPECT_TRUE(m_panes.renameStarted.isEmpty());
        }
        EXPECT_EQ(prompter().texts(), *c.message ? QStringList{QLatin1String(c.message)} : QStringList());
        EXPECT_EQ(namesIn(folder), QStringList{QLatin1String(c.resultName)});
        prompter().clear();
    }
}

TEST_F(TransferCommandsTest, TreeRenameAsksAndRefusesInvalidNames)
{
    const QString folder = makeFolder(QStringLiteral("tr/Old"));
    const QString question = QStringLiteral("Do you want to rename the selected folder\r\r    From  : Old\r    To     : New");
    EXPECT_FALSE(m_commands.renameTreeFolder(folder, QString()));
    EXPECT_FALSE(m_commands.renameTreeFolder(folder, QStringLiteral("Old")));
    EXPECT_TRUE(prompter().records().isEmpty()) << "an empty or unchanged name asks nothing";
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(m_commands.renameTreeFolder(folder, QStringLiteral("a:b")));
    EXPECT_EQ(prompter().last().text, QStringLiteral("Error - Invalid Directory Name\ra:b"));
    prompter().answer(PromptButton::No);
    EXPECT_FALSE(m_commands.renameTreeFolder(folder, QStringLiteral("New")));
    EXPECT_EQ(prompter().last().text, question);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    prompter().answer(PromptButton::Yes);
    EXPECT_TRUE(m_commands.renameTreeFolder(folder, QStringLiteral("New")));
    EXPECT_TRUE(QFileInfo(home().root() + QStringLiteral("/tr/New")).isDir());
    EXPECT_EQ(m_panes.rebuiltAt.last(), home().root() + QStringLiteral("/tr/New"));
}

// A new name that is taken: the rename's own error, and both entries stay as they were.
TEST_F(TransferCommandsTest, RenameOntoATakenNameIsRefused)
{
    const QString folder = makeFolder(QStringLiteral("taken"));
    makeFile(QStringLiteral("taken/a.txt"), "a");
    makeFile(QStringLiteral("taken/b.txt"), "b");
    makeFolder(QStringLiteral("taken/Old"));
    makeFolder(QStringLiteral("taken/New"));
    m_panes.showFolder(folder);
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(m_commands.renameListItem(folder + QStringLiteral("/a.txt"), QStringLiteral("b.txt"), QStringLiteral("file")));
    prompter().answer(PromptButton::Yes).answer(PromptButton::Ok);
    EXPECT_FALSE(m_commands.renameTreeFolder(folder + QStringLiteral("/Old"), QStringLiteral("New")));
    const auto taken = [&](const char* from, const char* to) -> QString {
        return QStringLiteral("Cannot rename \"") + folder + QLatin1Char('/') + QLatin1String(from)
            + QStringLiteral("\":\r\nA file or folder with the name \"") + QLatin1String(to) + QStringLiteral("\" already exists.");
    };
    EXPECT_EQ(prompter().texts(),
              (QStringList{taken("a.txt", "b.txt"),
                           QStringLiteral("Do you want to rename the selected folder\r\r    From  : Old\r    To     : New"),
                           taken("Old", "New")}));
    EXPECT_EQ(contents(folder + QStringLiteral("/a.txt")), QByteArray("a"));
    EXPECT_EQ(contents(folder + QStringLiteral("/b.txt")), QByteArray("b"));
    EXPECT_EQ(namesIn(folder), (QStringList{QStringLiteral("New"), QStringLiteral("Old"), QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

TEST_F(TransferCommandsTest, NewFolderAndTextFileNames)
{
    const QString folder = makeFolder(QStringLiteral("n"));
    m_panes.showFolder(folder);
    EXPECT_TRUE(m_commands.newFolder());
    EXPECT_EQ(m_panes.renameStarted, QStringList{folder + QStringLiteral("/New Folder")});
    m_panes.treePath = folder;
    EXPECT_TRUE(m_commands.newFolder());
    EXPECT_EQ(m_panes.renameStarted.size(), 1); // only the plain name opens for renaming
    const QStringList rebuilt = m_panes.rebuiltAt;
    EXPECT_EQ(m_commands.newFolderInList(), folder + QStringLiteral("/New Folder(2)"));
    // The list stays in its folder, re-read in place; the tree only shows the new folder.
    EXPECT_EQ(m_panes.rebuiltAt, rebuilt);
    EXPECT_EQ(m_panes.shownInTree, QStringList{folder + QStringLiteral("/New Folder(2)")});
    EXPECT_EQ(m_panes.refreshesInPlace, 1);
    EXPECT_EQ(m_panes.directory, folder + QLatin1Char('/'));
    EXPECT_EQ(namesIn(folder), (QStringList{QStringLiteral("New Folder"), QStringLiteral("New Folder(0)"), QStringLiteral("New Folder(2)")}));

    m_panes.treePath = folder;
    EXPECT_EQ(m_commands.newTextFile(), folder + QStringLiteral("/Newtext.txt"));
    EXPECT_EQ(m_commands.newTextFile(), folder + QStringLiteral("/Newtext0.txt"));
    EXPECT_EQ(contents(folder + QStringLiteral("/Newtext0.txt")), QByteArray());
    ASSERT_EQ(m_panes.selectedCount(), 1);
    EXPECT_EQ(m_panes.selectedEntries().first().fullPath, folder + QStringLiteral("/Newtext0.txt"));

    m_panes.level = 0;
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(m_commands.newFolder());
    EXPECT_EQ(prompter().last().text, QStringLiteral("Can't add drives"));
}

TEST_F(TransferCommandsTest, CopyToAndMoveTo)
{
    const QString folder = makeFolder(QStringLiteral("c/Here"));
    makeFile(QStringLiteral("c/Here/a.txt"), "a");
    const QString there = makeFolder(QStringLiteral("c/there"));
    const QString sameOtherCase = makeFolder(QStringLiteral("c/here"));
    m_panes.showFolder(folder);
    m_panes.select({QStringLiteral("a.txt")});

    // The folder the list shows, with or without a trailing slash, does nothing.
    pickers().answer(folder).answer(folder + QStringLiteral("/")).answer(QString());
    m_commands.copyTo(false);
    m_commands.copyTo(false);
    m_commands.copyTo(false);
    EXPECT_EQ(pickers().captions(), QStringList(3, QStringLiteral("Copy 1 selected to... ")));
    EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("a.txt")});

    // Another letter case is another folder.
    pickers().answer(sameOtherCase);
    m_commands.copyTo(false);
    EXPECT_EQ(contents(sameOtherCase + QStringLiteral("/a.txt")), "a");

    pickers().answer(there);
    m_commands.copyTo(true);
    EXPECT_EQ(pickers().captions().last(), QStringLiteral("Move 1 selected to..."));
    EXPECT_EQ(namesIn(there), QStringList{QStringLiteral("a.txt")});
    EXPECT_TRUE(namesIn(folder).isEmpty());
    EXPECT_EQ(m_afterChanges, 1);

    m_panes.tree = true;
    pickers().answer(there);
    m_commands.copyTo(true);
    EXPECT_EQ(pickers().captions().last(), QStringLiteral("Move ") + folder + QStringLiteral(" to..."));
    EXPECT_TRUE(QFileInfo(there + QStringLiteral("/Here")).isDir());
    EXPECT_EQ(m_panes.rebuiltAt.last(), home().root() + QStringLiteral("/c"));
}

TEST_F(TransferCommandsTest, SelectAllTogglesAndPropertiesFollowTheActivePane)
{
    const QString folder = makeFolder(QStringLiteral("s"));
    makeFile(QStringLiteral("s/a"), "a");
    makeFile(QStringLiteral("s/b"), "b");
    m_panes.showFolder(folder);
    EXPECT_EQ(m_commands.propertiesPath(), QString());
    m_commands.selectAll();
    EXPECT_EQ(m_panes.selectedCount(), 2);
    EXPECT_EQ(m_commands.propertiesPath(), folder + QStringLiteral("/a"));
    m_commands.selectAll();
    EXPECT_EQ(m_panes.selectedCount(), 0);
    m_panes.tree = true;
    EXPECT_EQ(m_commands.propertiesPath(), folder);
}

TEST_F(TransferCommandsTest, EnablingRules)
{
    const QString folder = makeFolder(QStringLiteral("e/f"));
    makeFile(QStringLiteral("e/f/a"), "a");
    struct Case {
        const char* what;
        int level;
        bool treeActive;
        bool select;
        bool missingListFolder;
        TransferCommands::FileMenuState file;
        TransferCommands::ListPopupState list;
        TransferCommands::TreePopupState tree;
    };
    const Case cases[] = {
        {"folder, nothing selected", 2, false, false, false, {true, true, true, true}, {false, false, true}, {true, true, false}},
        {"folder, a file selected", 2, false, true, false, {true, true, true, true}, {true, false, true}, {true, true, false}},
        {"drive node", 1, true, false, false, {true, true, true, false}, {false, false, true}, {true, false, false}},
        {"root node", 0, true, false, false, {false, false, false, false}, {false, false, true}, {false, false, false}},
        {"list folder gone", 2, false, false, true, {false, false, true, false}, {false, false, false}, {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_panes.showFolder(folder, c.level);
        if (c.level == 0)
            m_panes.treePath.clear();
        m_panes.tree = c.treeActive;
        if (c.select)
            m_panes.select({QStringLiteral("a")});
        if (c.missingListFolder)
            m_panes.directory = folder + QStringLiteral("/missing/");
        const auto file = m_commands.fileMenuState();
        EXPECT_EQ(file.newTextFile, c.file.newTextFile);
        EXPECT_EQ(file.newFolder, c.file.newFolder);
        EXPECT_EQ(file.properties, c.file.properties);
        EXPECT_EQ(file.moveTo, c.file.moveTo);
        const auto list = m_commands.listPopupState();
        EXPECT_EQ(list.needsSelection, c.list.needsSelection);
        EXPECT_EQ(list.paste, c.list.paste);
        EXPECT_EQ(list.newFolder, c.list.newFolder);
        const auto tree = m_commands.treePopupState();
        EXPECT_EQ(tree.belowRoot, c.tree.belowRoot);
        EXPECT_EQ(tree.belowDrive, c.tree.belowDrive);
        EXPECT_EQ(tree.paste, c.tree.paste);
    }
    // Paste is offered for a list source, or for files another program put on the clipboard.
    auto* mime = new QMimeData;
    FileDropMime::write(mime, {folder + QStringLiteral("/a")});
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_TRUE(m_commands.listPopupState().paste);
    QGuiApplication::clipboard()->setText(QStringLiteral("just text"));
    EXPECT_FALSE(m_commands.listPopupState().paste);
    m_panes.select({QStringLiteral("a")});
    m_commands.copyList(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("just text"));
    EXPECT_TRUE(m_commands.listPopupState().paste);
    m_commands.copyTree(false);
    EXPECT_TRUE(m_commands.treePopupState().paste);
}

TEST_F(TransferCommandsTest, CollectSelectedFilesWalksFoldersButNotDotFoldersOrLinks)
{
    const QString folder = makeFolder(QStringLiteral("w"));
    makeFile(QStringLiteral("w/top.txt"), "t");
    makeFile(QStringLiteral("w/dir/a.txt"), "a");
    makeFile(QStringLiteral("w/dir/.hidden"), "h");
    makeFile(QStringLiteral("w/dir/sub/b.txt"), "b");
    makeFile(QStringLiteral("w/dir/.git/config"), "g");
    QFile::link(folder + QStringLiteral("/dir"), folder + QStringLiteral("/dir/sub/loop"));
    m_panes.showFolder(folder);

    EXPECT_TRUE(CollectSelectedFiles(m_panes.listEntries(), false).isEmpty());
    m_panes.select({QStringLiteral("dir")});
    QStringList below = CollectSelectedFiles(m_panes.listEntries(), false);
    below.sort();
    EXPECT_EQ(below, (QStringList{folder + QStringLiteral("/dir/.hidden"), folder + QStringLiteral("/dir/a.txt"),
                                  folder + QStringLiteral("/dir/sub/b.txt")}));
    EXPECT_EQ(CollectSelectedFiles(m_panes.listEntries(), true).first(), folder + QStringLiteral("/top.txt"));
    EXPECT_EQ(CollectSelectedFiles(m_panes.listEntries(), true).size(), 4);
}

} // namespace
