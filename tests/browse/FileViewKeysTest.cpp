// The file list's own commands driven by real key and mouse events: opening by double click
// and Enter, going up, the ShortCuts bindings with their action switches, first-letter
// search, the permanent delete of Shift+Delete, and the data of a drag.
#include "DriveFixture.h"

#include "browse/FileSortOrder.h"
#include "browse/FileViewKeys.h"
#include "browse/TFileViewFol.h"
#include "support/BrowseWaits.h"
#include "browse/TFileViewFolPopUp.h"
#include "browse/TPathViewFol.h"
#include "support/FakeLauncher.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <memory>

namespace {

class FileViewKeysTest : public DriveFixture {
protected:
    void SetUp() override
    {
        DriveFixture::SetUp();
        FileSortOrder::FileSortIndex = 0;
        FileSortOrder::DecendSort = true; // A to Z
        m_work = makeFolder(QStringLiteral("drives/data/work"));
        for (const char* name : {"alpha.txt", "readme.md", "Rose.txt", "rules.txt"})
            makeFile(QStringLiteral("drives/data/work/") + QLatin1String(name), "x");
        makeFolder(QStringLiteral("drives/data/work/sub"));
        m_list = std::make_unique<TFileViewFol>();
        m_list->resize(600, 300);
        m_list->setShowFolders(true);
        m_list->setParentDirEnabled(false);
        m_list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_list.get()));
        m_list->setDirectory(m_work);
        ASSERT_TRUE(waitForList(*m_list));
    }

    void TearDown() override
    {
        m_list.reset();
        DriveFixture::TearDown();
    }

    QTreeView* view() const { return m_list->findChild<QTreeView*>(QStringLiteral("ReportView")); }

    QStringList captions() const
    {
        QStringList result;
        for (int row = 0; row < m_list->model().rowCount(); ++row)
            result << m_list->model().index(row, 0).data().toString();
        return result;
    }

    QStringList selectedNames() const
    {
        QStringList names;
        for (const QModelIndex& row : m_list->selectedRows())
            names << row.data().toString();
        return names;
    }

    // Selects the named items (list order), the first of them current.
    void select(const QStringList& names)
    {
        auto* selection = view()->selectionModel();
        selection->clearSelection();
        bool first = true;
        for (int row = 0; row < m_list->model().rowCount(); ++row) {
            const QModelIndex index = m_list->model().index(row, 0);
            if (!names.contains(index.data().toString()))
                continue;
            const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
            if (first)
                selection->setCurrentIndex(index, flags);
            else
                selection->select(index, flags);
            first = false;
        }
    }

    void doubleClick(const QString& name)
    {
        const int row = int(captions().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        const QRect rect = view()->visualRect(m_list->model().index(row, 0));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QString m_work;
    std::unique_ptr<TFileViewFol> m_list;
};

TEST_F(FileViewKeysTest, DoubleClickAndEnterOpenAsTheirSwitchesSay)
{
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open"));
    QSignalSpy viewed(m_list.get(), &TFileViewFol::viewSelected);
    QSignalSpy dblClicked(m_list.get(), &TFileViewFol::dblClicked);

    // A file goes to the program's own panes, or with FV off to its associated program.
    doubleClick(QStringLiteral("Rose.txt"));
    ASSERT_TRUE(waitForList(*m_list));
    ASSERT_EQ(viewed.size(), 1);
    EXPECT_EQ(viewed.first().first().toString(), m_work + QStringLiteral("/Rose.txt"));
    m_list->setOpenByDblClickFV(false);
    doubleClick(QStringLiteral("Rose.txt"));
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(viewed.size(), 1);
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().arguments, QStringList{m_work + QStringLiteral("/Rose.txt")});

    // Without OpenByDblClick nothing opens; the double click is reported instead.
    m_list->setOpenByDblClick(false);
    doubleClick(QStringLiteral("sub"));
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_work + QLatin1Char('/'));
    EXPECT_EQ(dblClicked.size(), 1);
    m_list->setOpenByDblClick(true);
    doubleClick(QStringLiteral("sub"));
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_work + QStringLiteral("/sub/"));

    // Enter opens only with OpenByEnter; the key reaches keyDown either way.
    QSignalSpy keys(m_list.get(), &TFileViewFol::keyDown);
    m_list->setDirectory(m_work);
    ASSERT_TRUE(waitForList(*m_list));
    select({QStringLiteral("sub")});
    m_list->setOpenByEnter(false);
    QTest::keyClick(view(), Qt::Key_Return);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_work + QLatin1Char('/'));
    m_list->setOpenByEnter(true);
    QTest::keyClick(view(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_work + QStringLiteral("/sub/"));
    EXPECT_EQ(keys.size(), 2);
}

TEST_F(FileViewKeysTest, BackspaceGoesUpFocusingTheFolderLeftAndStopsAtTheDriveView)
{
    m_list->setDirectory(m_work + QStringLiteral("/sub"));
    ASSERT_TRUE(waitForList(*m_list));
    QTest::keyClick(view(), Qt::Key_Backspace);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_work + QLatin1Char('/'));
    EXPECT_EQ(selectedNames(), QStringList{QStringLiteral("sub")});
    EXPECT_EQ(m_list->SelectedItem(), m_work + QStringLiteral("/sub"));

    QTest::keyClick(view(), Qt::Key_Backspace);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_data + QLatin1Char('/'));
    EXPECT_EQ(selectedNames(), QStringList{QStringLiteral("work")});
    QTest::keyClick(view(), Qt::Key_Backspace); // a drive's root goes to the drive view
    EXPECT_TRUE(m_list->isDriveView());
    QTest::keyClick(view(), Qt::Key_Backspace);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_TRUE(m_list->isDriveView());
}

TEST_F(FileViewKeysTest, BackspaceMovesALinkedTreeAlongUpToItsRoot)
{
    BrowseNavigator navigator;
    TPathViewFol tree;
    tree.setNavigator(&navigator);
    m_list->setNavigator(&navigator);
    ASSERT_TRUE(tree.GoToPath(m_work));
    m_list->setDirectory(m_work);
    ASSERT_TRUE(waitForList(*m_list));
    QTest::keyClick(view(), Qt::Key_Backspace);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(tree.SelectedPath(), m_data + QLatin1Char('/'));
    EXPECT_EQ(tree.currentItem(), tree.driveNodeOf(m_data));
    EXPECT_FALSE(tree.currentItem()->isExpanded()) << "a drive node reached by going up is collapsed";
    QTest::keyClick(view(), Qt::Key_Backspace);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_TRUE(m_list->isDriveView());
    EXPECT_EQ(tree.currentItem(), tree.rootNode());
    EXPECT_EQ(tree.SelectedPath(), TPathViewFol::myComputer());
}

TEST_F(FileViewKeysTest, EachBindingWorksOnlyWhileItsActionIsOn)
{
    struct Case {
        const char* name;
        QKeyCombination key;
        TFileViewAction action;
        void (TFileViewFol::*signal)();
    } cases[] = {
        {"copy", Qt::CTRL | Qt::Key_C, TFileViewAction::vaCopy, &TFileViewFol::copyRequested},
        {"cut", Qt::CTRL | Qt::Key_X, TFileViewAction::vaCut, &TFileViewFol::cutRequested},
        {"paste", Qt::CTRL | Qt::Key_V, TFileViewAction::vaPaste, &TFileViewFol::pasteRequested},
        {"delete", QKeyCombination(Qt::Key_Delete), TFileViewAction::vaDelete, &TFileViewFol::deleteRequested},
        {"rename", QKeyCombination(Qt::Key_F2), TFileViewAction::vaRename, &TFileViewFol::renameRequested},
        {"new folder", Qt::CTRL | Qt::Key_N, TFileViewAction::vaNewFolder, &TFileViewFol::newFolderRequested},
    };
    for (const Case& c : cases) {
        for (bool on : {true, false}) {
            select({QStringLiteral("readme.md")});
            m_list->ShortCuts().Actions = on ? TFileViewActions(0x7ff) : ~TFileViewActions(c.action) & TFileViewActions(0x7ff);
            QSignalSpy spy(m_list.get(), c.signal);
            QTest::keyClick(view(), c.key.key(), c.key.keyboardModifiers());
            EXPECT_EQ(spy.size(), on ? 1 : 0) << c.name << " on=" << on;
        }
    }
    m_list->ShortCuts().Actions = TFileViewActions(0x7ff);

    // Copy, cut, delete and rename need a selected item.
    view()->selectionModel()->clearSelection();
    QSignalSpy copies(m_list.get(), &TFileViewFol::copyRequested);
    QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies.size(), 0);

    // Ctrl+O opens; Backspace, F5 and Ctrl+A are tested with their switch off here.
    QSignalSpy viewed(m_list.get(), &TFileViewFol::viewSelected);
    select({QStringLiteral("Rose.txt")});
    QTest::keyClick(view(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(viewed.size(), 1);
    m_list->ShortCuts().Actions &= ~TFileViewActions(TFileViewAction::vaOpen);
    QTest::keyClick(view(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(viewed.size(), 1);

    m_list->ShortCuts().Actions &= ~TFileViewActions(TFileViewAction::vaBack);
    QTest::keyClick(view(), Qt::Key_Backspace);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_EQ(m_list->Directory(), m_work + QLatin1Char('/'));

    // F3: the desktop's search in this folder, only while the list has the focus.
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("catfish"));
    m_list->activateWindow();
    view()->setFocus();
    if (view()->hasFocus()) {
        m_list->ShortCuts().Actions &= ~TFileViewActions(TFileViewAction::vaFindFile);
        QTest::keyClick(view(), Qt::Key_F3);
        EXPECT_TRUE(launcher.launches().isEmpty());
        m_list->ShortCuts().Actions |= TFileViewAction::vaFindFile;
        QTest::keyClick(view(), Qt::Key_F3);
        ASSERT_EQ(launcher.launches().size(), 1);
        EXPECT_EQ(launcher.launches().first().arguments, QStringList{m_work});
    } else {
        ADD_FAILURE() << "the list could not take the focus";
    }

    makeFile(QStringLiteral("drives/data/work/new.txt"));
    m_list->ShortCuts().Actions &= ~TFileViewActions(TFileViewAction::vaRefresh);
    QTest::keyClick(view(), Qt::Key_F5);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_FALSE(captions().contains(QStringLiteral("new.txt")));
    m_list->ShortCuts().Actions |= TFileViewAction::vaRefresh;
    QTest::keyClick(view(), Qt::Key_F5);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_TRUE(captions().contains(QStringLiteral("new.txt")));
}

TEST_F(FileViewKeysTest, CtrlASelectsAllWhenNothingIsSelectedAndClearsOtherwise)
{
    const int rows = m_list->model().rowCount();
    view()->selectionModel()->clearSelection();
    QTest::keyClick(view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedNames().size(), rows);
    QTest::keyClick(view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(selectedNames().isEmpty());
    // Off: the view's own select-all runs instead, so a selection grows rather than clears.
    select({QStringLiteral("alpha.txt")});
    m_list->ShortCuts().Actions &= ~TFileViewActions(TFileViewAction::vaSelectAll);
    QTest::keyClick(view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedNames().size(), rows);
}

TEST_F(FileViewKeysTest, FirstLetterSearchCyclesThroughItemsWithThatLetter)
{
    ASSERT_EQ(captions(), (QStringList{"alpha.txt", "readme.md", "Rose.txt", "rules.txt", "sub"}));
    select({QStringLiteral("rules.txt")});
    struct Step {
        char key;
        QStringList selected;
    } steps[] = {
        {'r', {"readme.md"}}, // from the last R item round to the first
        {'R', {"Rose.txt"}},
        {'r', {"rules.txt"}},
        {'s', {"sub"}},
        {'s', {"sub"}}, // the only match is found again
        {'z', {}},      // no caption starts with z: nothing stays selected
        {'a', {"alpha.txt"}},
    };
    for (const Step& step : steps) {
        QTest::keyClicks(view(), QString(QLatin1Char(step.key)));
        EXPECT_EQ(selectedNames(), step.selected) << step.key;
    }
    EXPECT_EQ(m_list->SelectedItem(), m_work + QStringLiteral("/alpha.txt"));
}

TEST_F(FileViewKeysTest, ShiftDeleteAsksForEachFileAndDeletesOnlyTheAnsweredOnesForGood)
{
    select({QStringLiteral("alpha.txt"), QStringLiteral("readme.md"), QStringLiteral("rules.txt")});
    prompter().answer(PromptButton::Yes).answer(PromptButton::No).answer(PromptButton::Yes);
    QTest::keyClick(view(), Qt::Key_Delete, Qt::ShiftModifier);
    ASSERT_TRUE(waitForList(*m_list));
    ASSERT_EQ(prompter().records().size(), 3);
    const char* asked[] = {"alpha.txt", "readme.md", "rules.txt"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(prompter().records()[i].kind, PromptKind::Confirmation);
        EXPECT_EQ(prompter().records()[i].text, QStringLiteral("Are you sure you want to permanently delete file\r\n  \"")
                                                    + QLatin1String(asked[i]) + QStringLiteral("\"?"));
    }
    EXPECT_FALSE(QFile::exists(m_work + QStringLiteral("/alpha.txt")));
    EXPECT_TRUE(QFile::exists(m_work + QStringLiteral("/readme.md")));
    EXPECT_FALSE(QFile::exists(m_work + QStringLiteral("/rules.txt")));
    EXPECT_EQ(captions(), (QStringList{"readme.md", "Rose.txt", "sub"}));
    // Deleted for good: nothing went to the Trash.
    EXPECT_FALSE(QFile::exists(home().dataHome() + QStringLiteral("/Trash/files/alpha.txt")));

    // A selection that begins with a folder deletes nothing and asks nothing.
    prompter().clear();
    select({QStringLiteral("sub")});
    QTest::keyClick(view(), Qt::Key_Delete, Qt::ShiftModifier);
    ASSERT_TRUE(waitForList(*m_list));
    EXPECT_TRUE(prompter().records().isEmpty());
    EXPECT_TRUE(QFileInfo(m_work + QStringLiteral("/sub")).isDir());
}

TEST_F(FileViewKeysTest, DragCarriesTheSelectedFilesAndFoldersInListOrder)
{
    m_list->setParentDirEnabled(true);
    m_list->RefreshList();
    ASSERT_TRUE(waitForList(*m_list));
    const QModelIndex parent = m_list->model().index(0, 0);
    ASSERT_EQ(ItemKind(parent.data(FileListModel::KindRole).toInt()), ItemKind::Parent);
    EXPECT_FALSE(m_list->model().flags(parent).testFlag(Qt::ItemIsDragEnabled));
    select({QStringLiteral("sub"), QStringLiteral("Rose.txt"), QStringLiteral("alpha.txt")});
    QModelIndexList indexes = view()->selectionModel()->selectedIndexes();
    indexes << parent;
    std::reverse(indexes.begin(), indexes.end());
    std::unique_ptr<QMimeData> data(m_list->model().mimeData(indexes));
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/uri-list")));
    EXPECT_EQ(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(m_work + QStringLiteral("/alpha.txt")),
                                         QUrl::fromLocalFile(m_work + QStringLiteral("/Rose.txt")),
                                         QUrl::fromLocalFile(m_work + QStringLiteral("/sub"))}));
    EXPECT_EQ(m_list->model().supportedDragActions(), Qt::CopyAction);
}

TEST_F(FileViewKeysTest, ContextMenuFollowsTheSelection)
{
    struct Case {
        QStringList selected;
        QString print;
        bool rename;
    } cases[] = {
        {{}, QStringLiteral("Print [no files selected]"), false},
        {{"Rose.txt"}, QStringLiteral("Print (1) selected file"), true},
        {{"Rose.txt", "rules.txt"}, QStringLiteral("Print (2) selected files"), false},
    };
    for (const Case& c : cases) {
        select(c.selected);
        TFileViewFolPopUp menu(m_list.get());
        auto* print = menu.findChild<QAction*>(QStringLiteral("PrintFileNode"));
        ASSERT_NE(print, nullptr);
        EXPECT_EQ(print->text(), c.print);
        EXPECT_EQ(print->isEnabled(), !c.selected.isEmpty());
        for (const char* name : {"OpenFileNode", "CutNode", "CopyNode", "DeleteFileNode", "PropertiesNode", "SendcopytoNode"})
            EXPECT_EQ(menu.findChild<QAction*>(QLatin1String(name))->isEnabled(), !c.selected.isEmpty()) << name;
        EXPECT_EQ(menu.findChild<QAction*>(QStringLiteral("RenameFileNode"))->isEnabled(), c.rename);
        EXPECT_TRUE(menu.findChild<QAction*>(QStringLiteral("RefreshfilesNode"))->isEnabled());
    }
    // Printer Setup: the desktop's printer settings, or a message when there are none.
    FakeLauncher launcher;
    {
        TFileViewFolPopUp menu(m_list.get());
        prompter().answer(PromptButton::Ok);
        menu.findChild<QAction*>(QStringLiteral("PrinterSetupNode"))->trigger();
        EXPECT_EQ(prompter().last().text, QStringLiteral("No printer settings program is installed."));
        launcher.addProgram(QStringLiteral("system-config-printer"));
        menu.findChild<QAction*>(QStringLiteral("PrinterSetupNode"))->trigger();
        ASSERT_EQ(launcher.launches().size(), 1);
        EXPECT_EQ(launcher.launches().first().program, QStringLiteral("/usr/bin/system-config-printer"));
    }
    EXPECT_EQ(TFileViewFolPopUp::clipboardText(m_work + "/", {}), m_work);
    EXPECT_EQ(TFileViewFolPopUp::clipboardText(m_work + "/", {"/a"}), QStringLiteral("/a"));
    EXPECT_EQ(TFileViewFolPopUp::clipboardText(m_work + "/", {"/a", "/b"}), QStringLiteral("/a\r\n/b\r\n"));
}

TEST_F(FileViewKeysTest, ClipboardTextWritesPathsOnSmbSharesInTheirNetworkForm)
{
    const QString share = makeFolder(QStringLiteral("drives/share"));
    makeFile(QStringLiteral("drives/share/My Song.mp3"));
    DriveSources sources = DriveSources::current();
    QFile info(sources.mountInfo);
    ASSERT_TRUE(info.open(QIODevice::Append));
    info.write("7 1 0:80 / " + share.toUtf8() + " rw - cifs //server/music rw\n");
    info.close();
    DriveSources::setCurrent(sources);
    struct Case {
        QString directory;
        QStringList selected;
        QString text;
    } cases[] = {
        {share + "/", {}, QStringLiteral("file://server/music")},
        {share + "/", {share + "/My Song.mp3"}, QStringLiteral("file://server/music/My%20Song.mp3")},
        {m_work + "/", {m_work + "/a b", share + "/My Song.mp3"},
         m_work + QStringLiteral("/a b\r\nfile://server/music/My%20Song.mp3\r\n")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFileViewFolPopUp::clipboardText(c.directory, c.selected), c.text);
}

} // namespace
