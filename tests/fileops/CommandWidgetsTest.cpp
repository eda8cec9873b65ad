// The transfer commands through the window's menus and popups on the real browse widgets:
// the list and the tree as the user drives them, with scripted answers to the questions.
#include "BrowseWindowFixture.h"

#include "browse/TFileViewFol.h"
#include "support/BrowseWaits.h"
#include "browse/TPathViewFol.h"
#include "fileops/ConfirmActions.h"
#include "fileops/ui/FileToolsMenus.h"
#include "fileops/ui/TransferMenus.h"
#include "platform/PathText.h"
#include "support/FakeWindowContext.h"

#include "ConfirmWaiter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

class CommandWidgetsTest : public BrowseWindowFixture {
protected:
    void SetUp() override
    {
        QGuiApplication::clipboard()->clear();
        BrowseWindowFixture::SetUp();
    }
    void addControllers() override
    {
        m_tools = new FileToolsMenus(*m_context, *m_menus);
        m_tools->setList(m_list);
    }

    QStringList listed() const
    {
        EXPECT_TRUE(waitForList(*m_list));
        QStringList names;
        for (int row = 0; row < m_list->model().rowCount(); ++row)
            names << m_list->model().index(row, 0).data().toString();
        names.sort();
        return names;
    }
    // The user works in the list or the tree: it takes the focus.
    void focusList() { m_list->currentView()->setFocus(); }
    void focusTree() { m_tree->setFocus(); }
    // Opens the list's popup (which makes the list the active pane) and chooses an item.
    void listPopup(const char* item)
    {
        focusList();
        m_menus->PopupMenuFilePopup();
        ASSERT_TRUE(m_menus->action(item)->isEnabled()) << item;
        m_menus->action(item)->trigger();
    }
    FileToolsMenus* m_tools = nullptr;
};

TEST_F(CommandWidgetsTest, ListCommands)
{
    const QString from = makeFolder(QStringLiteral("drives/data/from"));
    const QString to = makeFolder(QStringLiteral("drives/data/to"));
    makeFile(QStringLiteral("drives/data/from/a.txt"), "a");
    makeFile(QStringLiteral("drives/data/from/b.txt"), "b");
    makeFile(QStringLiteral("drives/data/from/c.txt"), "c");
    go(from);
    focusList();
    m_list->currentView()->clearSelection(); // a fresh listing selects its first row
    m_menus->PopupMenuFilePopup();
    for (const char* name : {"PopupCut", "PopupCopy", "PopupDelete", "PopupRename", "PopupSendCopy", "PopupMoveTo", "PopupProperties", "PopupPaste"})
        EXPECT_FALSE(m_menus->action(name)->isEnabled()) << name;
    EXPECT_TRUE(m_menus->action("PopupNewFolder")->isEnabled());

    selectInList({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    listPopup("PopupCut");
    go(to);
    listPopup("PopupPaste");
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    EXPECT_EQ(QDir(from).entryList(QDir::Files), QStringList{QStringLiteral("c.txt")});
    EXPECT_EQ(m_recent.last(), to);

    focusList();
    selectInList({QStringLiteral("a.txt")});
    m_menus->action("MenuRename")->trigger();
    ASSERT_TRUE(typeName(*m_list->currentView(), QStringLiteral("renamed.txt")));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("renamed.txt")}));
    EXPECT_EQ(m_list->selectedPaths(), QStringList{to + QStringLiteral("/renamed.txt")});

    selectInList({QStringLiteral("b.txt")});
    prompter().answer(PromptButton::Yes);
    m_menus->action("MenuDelete")->trigger();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Move \"b.txt\" to the Trash?"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("renamed.txt")});

    // The re-read list has its first row selected: Select All clears, then selects all.
    ASSERT_FALSE(m_list->selectedPaths().isEmpty());
    m_menus->action("MenuSelectAll")->trigger();
    EXPECT_TRUE(m_list->selectedPaths().isEmpty());
    m_menus->action("MenuSelectAll")->trigger();
    EXPECT_EQ(m_list->selectedPaths(), QStringList{to + QStringLiteral("/renamed.txt")});

    m_menus->action("MenuNewTextFile")->trigger();
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->selectedPaths(), QStringList{to + QStringLiteral("/Newtext.txt")});

    pickers().answer(from);
    selectInList({QStringLiteral("renamed.txt")});
    listPopup("PopupSendCopy");
    EXPECT_EQ(pickers().captions().last(), QStringLiteral("Copy 1 selected to... "));
    EXPECT_TRUE(QFileInfo::exists(from + QStringLiteral("/renamed.txt")));
    EXPECT_TRUE(QFileInfo::exists(to + QStringLiteral("/renamed.txt")));
}

// The folder popup's items run the tree's steps, even while the list has the focus (the
// drive tabs open the same popup).
TEST_F(CommandWidgetsTest, TreeCommands)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/Photos"));
    makeFile(QStringLiteral("drives/data/Photos/p.jpg"), "p");
    const QString other = makeFolder(QStringLiteral("drives/data/Other"));
    QSignalSpy pending(m_menus, &TransferMenus::treePastePendingChanged);
    focusList();

    go(folder);
    m_menus->treeCopy(false);
    ASSERT_EQ(pending.size(), 1);
    EXPECT_TRUE(pending.last().first().toBool());
    go(other);
    m_menus->treePaste();
    EXPECT_TRUE(QFileInfo::exists(other + QStringLiteral("/Photos/p.jpg")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/p.jpg")));
    EXPECT_FALSE(pending.last().first().toBool()); // pasted: no longer pending
    EXPECT_EQ(m_recent.last(), other);

    go(other + QStringLiteral("/Photos"));
    prompter().answer(PromptButton::Yes);
    m_menus->treeRename();
    ASSERT_TRUE(typeName(*m_tree, QStringLiteral("Pictures")));
    ASSERT_TRUE(waitForTree(*m_tree));
    EXPECT_EQ(prompter().last().text,
              QStringLiteral("Do you want to rename the selected folder\r\r    From  : Photos\r    To     : Pictures"));
    EXPECT_TRUE(QFileInfo(other + QStringLiteral("/Pictures")).isDir());
    EXPECT_EQ(m_tree->GetNodePath(m_tree->currentItem()), other + QStringLiteral("/Pictures"));

    go(other);
    const qsizetype asked = prompter().records().size();
    m_menus->treeNewFolder();
    EXPECT_TRUE(QFileInfo(other + QStringLiteral("/New Folder")).isDir());
    EXPECT_EQ(m_tree->GetNodePath(m_tree->currentItem()), other + QStringLiteral("/New Folder"));
    ASSERT_NE(openNameEditor(*m_tree), nullptr) << "the new folder is ready to be named";
    EXPECT_EQ(openNameEditor(*m_tree)->text(), QStringLiteral("New Folder"));
    ASSERT_TRUE(typeName(*m_tree, QStringLiteral("Unwanted"), Qt::Key_Escape)); // the new folder keeps its name
    EXPECT_EQ(prompter().records().size(), asked);

    prompter().answer(PromptButton::Yes);
    m_menus->treeDelete();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Move \"New Folder\" to the Trash?"));
    EXPECT_FALSE(QFileInfo::exists(other + QStringLiteral("/New Folder")));
    EXPECT_EQ(m_tree->GetNodePath(m_tree->currentItem()), other);

    // A drive is copied as its contents and never deleted from the tree.
    go(m_data);
    m_menus->treeDelete();
    EXPECT_TRUE(QFileInfo(m_data).isDir());
    m_menus->treeCopy(false);
    EXPECT_EQ(m_menus->commands().clipboard().treeSource().folder, m_data);
    EXPECT_TRUE(m_menus->commands().clipboard().treeSource().driveContents);
}

// The list's own New Folder: made in the list's folder, numbered from 2, while the list
// stays where it was (folder, selection, scroll position) and the tree shows the new folder
// without going into it. With folders listed, the new one becomes the selection.
TEST_F(CommandWidgetsTest, ListNewFolderLeavesTheListWhereItWas)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/many"));
    for (int i = 0; i < 60; ++i)
        makeFile(QStringLiteral("drives/data/many/f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    go(folder);
    focusList();
    QAbstractItemView* view = m_list->currentView();
    selectInList({QStringLiteral("f30.txt")});
    view->scrollTo(view->selectionModel()->selectedRows().first(), QAbstractItemView::PositionAtTop);
    const auto topName = [&] { return view->indexAt(QPoint(1, 1)).data().toString(); };
    ASSERT_EQ(topName(), QStringLiteral("f30.txt"));
    QTreeWidgetItem* node = m_tree->currentItem();

    for (const char* made : {"New Folder", "New Folder(2)"}) {
        QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(waitForList(*m_list));
        ASSERT_TRUE(waitForTree(*m_tree));
        EXPECT_TRUE(QFileInfo(folder + QLatin1Char('/') + QLatin1String(made)).isDir()) << made;
        EXPECT_EQ(m_list->Directory(), folder + QLatin1Char('/'));
        EXPECT_EQ(m_list->selectedPaths(), QStringList{folder + QStringLiteral("/f30.txt")});
        EXPECT_EQ(topName(), QStringLiteral("f30.txt"));
        EXPECT_EQ(m_tree->currentItem(), node);
        EXPECT_NE(m_tree->nodeOfPath(folder + QLatin1Char('/') + QLatin1String(made)), nullptr) << made;
    }

    m_list->setShowFolders(true);
    ASSERT_TRUE(waitForList(*m_list));
    selectInList({QStringLiteral("f30.txt")});
    QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(waitForList(*m_list));
    ASSERT_EQ(m_list->selectedPaths().size(), 1);
    EXPECT_EQ(PathText::withoutTrailingSlash(m_list->selectedPaths().first()), folder + QStringLiteral("/New Folder(3)"));
    EXPECT_EQ(m_list->Directory(), folder + QLatin1Char('/'));
}

// A batch command's target question: the tree's folder proposed, the work list's count shown,
// and the extension index kept in step with the window's settings.
TEST_F(CommandWidgetsTest, ActionTargetFromTheWindowsSelection)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/Batch"));
    makeFile(QStringLiteral("drives/data/Batch/a.txt"), "a");
    makeFile(QStringLiteral("drives/data/Batch/b.txt"), "b");
    const QString settings = home().configHome() + QStringLiteral("/registry.txt");
    ConfirmActions::saveExtensions(settings, {QStringLiteral("txt")}, QStringLiteral("bak"), 0);
    go(folder);
    selectInList({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    m_menus->CollectSelectedFiles(false);
    ASSERT_EQ(m_menus->workList().size(), 2);
    m_extIndex = 1;
    whenConfirmShows([&](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelAction->text(), QStringLiteral("Change Extension"));
        EXPECT_EQ(dialog.EditToPathFile->text(), folder + QLatin1Char('/'));
        EXPECT_EQ(dialog.LabelFileName->text(), QStringLiteral("2 files selected"));
        EXPECT_EQ(dialog.ComboBoxFileExt->currentText(), QStringLiteral("txt"));
        dialog.ComboBoxFileExt->setCurrentIndex(0);
        dialog.ButtonYes->click();
    });
    EXPECT_EQ(m_menus->askActionTarget(opChangeExtension), folder + QLatin1Char('/'));
    EXPECT_EQ(m_extIndex, 0);
    EXPECT_EQ(m_menus->confirmResults().newExtension, QStringLiteral("bak"));
}

TEST_F(CommandWidgetsTest, FileMenuShowsWhatTheTreeNodeAllows)
{
    struct Case {
        const char* what;
        bool root;
        QString folder;
        bool newFolder, properties, moveTo;
    };
    const QString folder = makeFolder(QStringLiteral("drives/data/F"));
    const Case cases[] = {
        {"folder", false, folder, true, true, true},
        {"drive", false, m_data, true, true, false},
        {"root", true, QString(), false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.root)
            m_tree->setCurrentItem(m_tree->rootNode());
        else
            go(c.folder);
        m_menus->PopupMenuFilePopup(); // the list is the active pane
        m_menus->MenuFileClick();
        EXPECT_EQ(m_menus->action("MenuNewFolder")->isVisible(), c.newFolder);
        EXPECT_EQ(m_menus->action("MenuProperties")->isVisible(), c.properties);
        EXPECT_EQ(m_menus->action("MenuCopyTo")->isVisible(), c.properties);
        EXPECT_EQ(m_menus->action("MenuMoveTo")->isVisible(), c.moveTo);
    }
}

} // namespace

// The File Tools captions count the selected rows; the five tools need one.
TEST_F(CommandWidgetsTest, FileToolsCaptionsCountTheSelection)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/T"));
    makeFile(QStringLiteral("drives/data/T/a.txt"), "a");
    makeFile(QStringLiteral("drives/data/T/b.txt"), "b");
    go(folder);
    focusList();
    m_list->currentView()->clearSelection();
    m_tools->MenuFileToolsClick();
    EXPECT_EQ(m_menus->action("MenuChgExt")->text(), QStringLiteral("Change extension  [no files selected]"));
    EXPECT_FALSE(m_menus->action("MenuAttr")->isEnabled());
    EXPECT_EQ(m_menus->action("MenuSavePathFileClipboard")->text(), QStringLiteral("Save link to clipboard"));
    EXPECT_EQ(m_menus->action("MenuMakeShortCut")->text(), QStringLiteral("Make shortcut ") + folder + QStringLiteral("/ in..."));
    selectInList({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    m_tools->MenuFileToolsClick();
    EXPECT_EQ(m_menus->action("MenuChgExt")->text(), QStringLiteral("Change extension on (2) files"));
    EXPECT_EQ(m_menus->action("MenuMakeShortcuttoDesktop")->text(), QStringLiteral("Make shortcut to (2) files on Desktop"));
    EXPECT_TRUE(m_menus->action("MenuAttr")->isEnabled());
    m_tools->PopupMenuFilePopup();
    EXPECT_EQ(m_menus->action("PopupSearchReplaceFilename")->text(), QStringLiteral("Search + Replace (2) files"));
    EXPECT_EQ(m_menus->action("PopupPathFileToTextFile")->text(), QStringLiteral("Save (2) path/file to text file"));
    EXPECT_TRUE(m_menus->PopupMenuFile()->findChild<QMenu*>(QStringLiteral("PopupFileTools")));
}

// A tool chosen from the menu: the work list is collected first, so the dialog counts it;
// the batch then renames the files and the list shows the new names.
TEST_F(CommandWidgetsTest, ChangeExtensionFromTheMenu)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/X"));
    makeFile(QStringLiteral("drives/data/X/a.txt"), "a");
    makeFile(QStringLiteral("drives/data/X/b.txt"), "b");
    makeFile(QStringLiteral("drives/data/X/c.txt"), "c");
    go(folder);
    focusList();
    selectInList({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    whenConfirmShows([&](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelFileName->text(), QStringLiteral("2 files selected"));
        dialog.ComboBoxFileExt->setEditText(QStringLiteral("bak"));
        dialog.ButtonYes->click();
    });
    m_menus->action("MenuChgExt")->trigger();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("a.bak"), QStringLiteral("b.bak"), QStringLiteral("c.txt")}));
    EXPECT_EQ(m_recent.last(), folder);
}

TEST_F(CommandWidgetsTest, PathsIntoANewTextFileOpenedInTheEditor)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/P"));
    makeFile(QStringLiteral("drives/data/P/a.txt"), "a");
    makeFile(QStringLiteral("drives/data/P/b.txt"), "b");
    go(folder);
    focusList();
    selectInList({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    prompter().answer(PromptButton::No);
    m_menus->action("PopupPathFileToTextFile")->trigger();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Would you like to complete path?  else just name"));
    ASSERT_EQ(m_context->switches, QList<TViewMode>{vmTextEditor});
    EXPECT_EQ(m_context->switchPaths.last(), folder + QStringLiteral("/Newtext.txt"));
    QByteArray inListOrder;
    for (const ListEntry& entry : m_menus->panes().selectedEntries())
        inListOrder += entry.caption.toUtf8() + '\n';
    QFile file(folder + QStringLiteral("/Newtext.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), inListOrder);
    EXPECT_EQ(inListOrder.size(), 12);
}
