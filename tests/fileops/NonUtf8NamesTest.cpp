// Names that are not valid UTF-8 through the transfer commands: the list shows them with the
// replacement mark, and copy (through the system clipboard's file URLs), rename, the Trash
// and back, and delete reach the very bytes on disk, never a look-alike name.
#include "FakePanes.h"

#include "fileops/FileClipboard.h"
#include "fileops/TransferCommands.h"
#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "platform/Trash.h"

#include "support/ByteFiles.h"
#include "support/RootOnlyDrives.h"
#include "support/TempHome.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using ByteFiles::Names;

QByteArray native(const QString& path)
{
    return FileName::encode(path);
}

using ByteFiles::namesIn;
using ByteFiles::readFile;
using ByteFiles::writeFile;

class NonUtf8NamesTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    // Selects the one row whose caption is shown.
    const ListEntry& selectShown(const QString& caption)
    {
        m_panes.select({caption});
        const auto row = std::find_if(m_panes.rows.cbegin(), m_panes.rows.cend(),
                                      [&](const ListEntry& entry) { return entry.caption == caption; });
        EXPECT_NE(row, m_panes.rows.cend()) << caption.toStdString();
        return *row;
    }

    FakePanes m_panes;
    FileClipboard m_clipboard;
    TransferCommands m_commands{m_panes, m_clipboard};
};

TEST_F(NonUtf8NamesTest, CopyRenameTrashAndDeleteKeepTheBytes)
{
    const QString src = makeFolder(QStringLiteral("src"));
    const QString dst = makeFolder(QStringLiteral("dst"));
    // A look-alike that a lossy decoding would reach instead.
    writeFile(native(src) + "/a\xef\xbf\xbd.txt", "look-alike");
    writeFile(native(src) + "/a\xff.txt", "odd");

    m_panes.showFolder(src);
    ASSERT_EQ(m_panes.rows.size(), 3);
    const ListEntry& odd = m_panes.rows[1].fullPath.endsWith(QStringLiteral("a\uFFFD.txt")) ? m_panes.rows[2] : m_panes.rows[1];
    EXPECT_EQ(odd.caption, QStringLiteral("a\uFFFD.txt"));
    EXPECT_EQ(native(odd.fullPath), native(src) + "/a\xff.txt");

    // Copy: the list's copy fills the system clipboard, and a paste from that alone (as
    // another window of the program would do) finds the file by its bytes.
    m_panes.select({});
    for (ListEntry& row : m_panes.rows)
        row.selected = row.fullPath == odd.fullPath;
    m_commands.copyList(false);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/uri-list")).contains("/a%FF.txt\r\n"));
    m_clipboard.clearListSource();
    m_panes.showFolder(dst);
    m_commands.pasteList();
    EXPECT_EQ(namesIn(dst), Names{"a\xff.txt"});
    EXPECT_EQ(readFile(native(dst) + "/a\xff.txt"), "odd");
    EXPECT_TRUE(prompter().records().isEmpty());

    // Rename as the list's editor does: the edited text keeps the escaped byte of the old name.
    m_panes.showFolder(dst);
    selectShown(QStringLiteral("a\uFFFD.txt"));
    m_commands.startRename();
    ASSERT_EQ(m_panes.renameStarted.size(), 1);
    const QString old = m_panes.renameStarted.first();
    QString edited = QFileInfo(old).fileName();
    edited[0] = QLatin1Char('b');
    EXPECT_TRUE(m_commands.renameListItem(old, edited, QStringLiteral("file")));
    EXPECT_EQ(namesIn(dst), Names{"b\xff.txt"});

    // To the Trash: the question shows the replacement mark, the info file holds the bytes.
    m_panes.showFolder(dst);
    selectShown(QStringLiteral("b\uFFFD.txt"));
    prompter().answer(PromptButton::Yes);
    m_commands.deleteList();
    EXPECT_EQ(Prompter::displayText(prompter().last().text), QStringLiteral("Move \"b\uFFFD.txt\" to the Trash?"));
    EXPECT_TRUE(namesIn(dst).isEmpty());
    const QString trash = Trash::homeTrash();
    EXPECT_EQ(namesIn(trash + QStringLiteral("/files")), Names{"b\xff.txt"});
    EXPECT_TRUE(readFile(native(trash) + "/info/b\xff.txt.trashinfo").contains(QByteArray("\nPath=" + native(dst).toPercentEncoding("/") + "/b%FF.txt\n")));

    // And back from it.
    const QList<TrashedItem> items = Trash::items(trash);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(native(items.first().originalPath), native(dst) + "/b\xff.txt");
    const Status restored = Trash::restore(items.first());
    ASSERT_TRUE(restored) << restored.describe().toStdString();
    EXPECT_EQ(readFile(native(dst) + "/b\xff.txt"), "odd");
    EXPECT_TRUE(namesIn(trash + QStringLiteral("/info")).isEmpty());

    // Deleted for good, as the list's Shift+Delete does.
    prompter().answer(PromptButton::Yes);
    EXPECT_TRUE(RunTransfer(FileOperationKind::Delete, {dst + QLatin1Char('/') + FileName::decode("b\xff.txt")}, {},
                            FileOperationFlag::Silent));
    EXPECT_TRUE(namesIn(dst).isEmpty());
    // The source and its look-alike were never touched.
    EXPECT_EQ(namesIn(src), (Names{"a\xef\xbf\xbd.txt", "a\xff.txt"}));
    EXPECT_EQ(readFile(native(src) + "/a\xef\xbf\xbd.txt"), "look-alike");
}

TEST_F(NonUtf8NamesTest, FoldersWithSuchNamesCopyByTreeAndEmptyFromTheTrash)
{
    const RootOnlyDrives drives(home().root());
    const QString drive = makeFolder(QStringLiteral("drive"));
    const QString into = makeFolder(QStringLiteral("into"));
    ASSERT_EQ(::mkdir(QByteArray(native(drive) + "/d\xe9").constData(), 0755), 0);
    writeFile(native(drive) + "/d\xe9/inner\xfe", "inner");

    // A drive's contents copied in the tree: its entries are listed by their bytes.
    m_clipboard.setTreeSource(drive, true);
    EXPECT_EQ(native(FileClipboard::expandTreeSource(m_clipboard.treeSource()).value(0)), native(drive) + "/d\xe9");
    // A folder copied in the tree and pasted into another.
    m_panes.treePath = drive + QLatin1Char('/') + FileName::decode("d\xe9");
    m_panes.level = 2;
    m_commands.copyTree(false);
    m_panes.treePath = into;
    EXPECT_TRUE(m_commands.pasteTree());
    EXPECT_EQ(readFile(native(into) + "/d\xe9/inner\xfe"), "inner");

    // Trashed, then the Trash emptied: nothing of it stays.
    prompter().answer(PromptButton::Yes);
    EXPECT_TRUE(RunTransfer(FileOperationKind::Delete, {into + QLatin1Char('/') + FileName::decode("d\xe9")}, {},
                            FileOperationFlag::AllowUndo | FileOperationFlag::Silent));
    EXPECT_TRUE(namesIn(into).isEmpty());
    EXPECT_FALSE(Trash::isEmpty());
    const Status emptied = Trash::empty();
    EXPECT_TRUE(emptied) << emptied.describe().toStdString();
    EXPECT_TRUE(namesIn(Trash::homeTrash() + QStringLiteral("/files")).isEmpty());
    EXPECT_TRUE(namesIn(Trash::homeTrash() + QStringLiteral("/info")).isEmpty());
}

} // namespace
