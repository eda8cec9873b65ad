// The browse panes in the main window: the mask box and its history, the recent-folders
// menu, the special-folder items, the Drive menu, the details button, the folder menu, and
// the one go-to-folder sequence they all end in.
#include "app/AppSettings.h"
#include "app/FolderNodeDelegate.h"
#include "browse/FolderReader.h"
#include "app/MainWindowBrowse.h"
#include "app/MainWindowDriveMenu.h"
#include "app/MainWindowFolderMenu.h"
#include "app/MainWindowIdle.h"
#include "app/MainWindowPathMenus.h"
#include "app/SettingsStore.h"
#include "app/TFormMainFolvane3.h"
#include "browse/FileSortOrder.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Registry.h"
#include "support/FakeLauncher.h"
#include "tests/app/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeView>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

class BrowseWiringTest : public MainWindowFixture {
protected:
    template <typename T>
    static T* child(TFormMainFolvane3& window, const char* name)
    {
        return window.findChild<T*>(QLatin1String(name));
    }

    static QString listed(TFormMainFolvane3& window) { return window.controls().FileViewFol1->Directory(); }

    static void leave(QWidget* widget)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(widget, &out);
    }
};

TEST_F(BrowseWiringTest, MaskBoxFiltersOnEveryKeystrokeAndKeepsTypedMasksSortedWithoutLimit)
{
    const QString folder = makeFolder(QStringLiteral("home/masks"));
    for (const char* name : {"a.t", "b.txt", "c.T", "d.md"})
        makeFile(QStringLiteral("home/masks/") + QLatin1String(name));
    store([&](AppSettings& s) { s.currentItemSel = folder; s.currentPathSel = folder + "/"; });
    auto window = shown();
    QComboBox* box = window->controls().ComboBoxMask;
    TFileViewFol* list = window->controls().FileViewFol1;
    ASSERT_EQ(listed(*window), folder + QLatin1Char('/'));
    const int builtIn = box->count();

    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("*.t"));
    EXPECT_EQ(list->Mask(), QStringLiteral("*.t")) << "the list follows every keystroke";
    ASSERT_TRUE(waitForList(*list));
    EXPECT_EQ(box->toolTip(), QStringLiteral("Current Mask = *.t"));
    EXPECT_EQ(list->model().rowCount(), 2) << "a.t and c.T";
    leave(box->lineEdit());
    EXPECT_EQ(box->count(), builtIn + 1);
    EXPECT_EQ(box->currentText(), QStringLiteral("*.t"));
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    QStringList sorted = items;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(items, sorted);

    // Leaving again, or with the same mask in other letters, adds nothing; new masks have no limit.
    leave(box->lineEdit());
    box->setEditText(QStringLiteral("*.T"));
    leave(box->lineEdit());
    EXPECT_EQ(box->count(), builtIn + 1);
    for (int i = 0; i < 30; ++i) {
        box->setEditText(QStringLiteral("*.x%1").arg(i));
        leave(box->lineEdit());
    }
    EXPECT_EQ(box->count(), builtIn + 31);
    window->close();
    AppSettings stored;
    SettingsStore(path()).load(stored);
    EXPECT_TRUE(stored.masks.contains(QStringLiteral("*.x29")));
}

TEST_F(BrowseWiringTest, RecentFoldersKeepTwentyDropMissingOnesAndAMissingChoiceReturnsToTheCurrentFolder)
{
    QStringList folders;
    for (int i = 0; i < 25; ++i)
        folders << makeFolder(QStringLiteral("home/recent/f%1").arg(i, 2, 10, QLatin1Char('0')));
    QDir(folders[3]).removeRecursively();
    const QString start = makeFolder(QStringLiteral("home/start"));
    store([&](AppSettings& s) { s.mruPaths = folders; s.currentItemSel = start; });
    auto window = shown();
    const QStringList& recent = window->settings().mruPaths;
    ASSERT_EQ(recent.size(), 20);
    EXPECT_EQ(recent.first(), start);
    EXPECT_FALSE(recent.contains(folders[3]));

    QMenu* pathMenu = window->controls().topMenus[1];
    window->pathMenus().fillRecentPaths();
    const QList<QAction*> items = pathMenu->actions();
    ASSERT_EQ(items.size(), 20);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&1 ") + start);
    EXPECT_EQ(items[8]->text(), QStringLiteral("&9 ") + recent[8]);
    EXPECT_EQ(items[9]->text(), QStringLiteral("&A ") + recent[9]);
    EXPECT_EQ(items[19]->text(), QStringLiteral("&K ") + recent[19]);

    items[1]->trigger();
    EXPECT_EQ(listed(*window), recent[1] + QLatin1Char('/'));
    EXPECT_EQ(window->CurrentPath(), recent[1] + QLatin1Char('/'));
    const QString previous = listed(*window);
    const QString gone = recent[2];
    QDir(gone).removeRecursively();
    QSignalSpy checked(window.get(), &TFormMainFolvane3::recentPathsChecked);
    items[2]->trigger();
    ASSERT_TRUE(checked.wait(10000)) << "the recent folders are looked at on a worker";
    EXPECT_EQ(listed(*window), previous) << "a folder deleted meanwhile reopens the current one";
    // A check started by an earlier folder change may answer first: wait for the one that
    // saw the folder gone.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->settings().mruPaths.contains(gone); }, 10000))
        << "dropped at the next update";
    EXPECT_TRUE(prompter().records().isEmpty());
}

// The window's current item follows the list's selection and its folder the tree, so a new
// start reopens the folder last shown with the item last selected: a file selected long ago
// in another folder does not pull the start back there.
TEST_F(BrowseWiringTest, StartReopensTheLastFolderWithTheLastSelectedItem)
{
    const QString first = makeFolder(QStringLiteral("home/first"));
    makeFile(QStringLiteral("home/first/old.txt"), "o");
    const QString last = makeFolder(QStringLiteral("home/last"));
    makeFile(QStringLiteral("home/last/new.txt"), "n");
    makeFolder(QStringLiteral("home/last/sub"));
    const QString empty = makeFolder(QStringLiteral("home/empty"));
    struct Case {
        const char* what;
        QString last;         // the folder gone to last
        QString selectedLast; // selected there; empty for none
    };
    const Case cases[] = {
        {"a file selected", last, last + QStringLiteral("/new.txt")},
        {"a subfolder selected", last, last + QStringLiteral("/sub")},
        {"an empty folder, nothing selected", empty, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store([&](AppSettings& s) { s.singleDrive = false; s.currentItemSel = first; });
        {
            auto window = shown();
            TFileViewFol* list = window->controls().FileViewFol1;
            ASSERT_TRUE(list->SelectFileInList(first + QStringLiteral("/old.txt")));
            EXPECT_EQ(window->CurrentFile(), first + QStringLiteral("/old.txt"));
            window->browse().goToFolder(c.last);
            ASSERT_TRUE(waitForList(*list));
            if (!c.selectedLast.isEmpty())
                ASSERT_TRUE(list->SelectFileInList(c.selectedLast));
            EXPECT_EQ(window->CurrentFile().toStdString(), c.selectedLast.toStdString());
            EXPECT_EQ(window->CurrentPath(), c.last + QLatin1Char('/'));
            ASSERT_TRUE(window->SaveSettings());
        }
        auto again = shown();
        EXPECT_EQ(listed(*again), c.last + QLatin1Char('/'));
        EXPECT_EQ(again->controls().FileViewFol1->selectedPaths().value(0).toStdString(), c.selectedLast.toStdString());
    }
}

TEST_F(BrowseWiringTest, SpecialFoldersOpenTheirFolderOrFallBackWithoutMessage)
{
    const QString docs = makeFolder(QStringLiteral("home/Docs"));
    makeFile(QStringLiteral("home/.config/user-dirs.dirs"),
             "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\nXDG_PICTURES_DIR=\"$HOME/Pics\"\n");
    const QString start = makeFolder(QStringLiteral("home/start"));
    store([&](AppSettings& s) { s.currentItemSel = start; });
    auto window = shown();
    struct Case {
        const char* item;
        QString expected;
    } cases[] = {
        {"MenuDocsCurrentUser", docs + "/"},
        {"MenuMusicCurrentUser", docs + "/"},     // Music is named but missing
        {"MenuPicturesCurrentlUser", docs + "/"}, // so is Pictures
        {"MenuVideoCurrentUser", docs + "/"},     // no Videos entry at all
        {"MenuMusicAllUsers", docs + "/"},        // no folder of all users on Linux
        {"MenuDocAllUsers", docs + "/"},
    };
    for (const Case& c : cases) {
        auto* item = child<QAction>(*window, c.item);
        ASSERT_NE(item, nullptr) << c.item;
        item->trigger();
        EXPECT_EQ(listed(*window), c.expected) << c.item;
    }
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(BrowseWiringTest, DriveMenuShowsItsItemsByModeAndTheSwitchTogglesTheTree)
{
    store([&](AppSettings& s) { s.singleDrive = false; s.currentItemSel = makeFolder(QStringLiteral("home/here")); });
    auto window = shown();
    QMenu* drive = window->controls().topMenus[5];
    auto* single = child<QAction>(*window, "MenuSingleDrive");
    auto* tabs = child<QAction>(*window, "MenuShowDriveTabs");
    window->driveMenu().MenuDriveClick();
    EXPECT_EQ(single->text(), QStringLiteral("Single Drive (Path View) \"FolVane\""));
    EXPECT_FALSE(tabs->isVisible()) << "all-drives mode hides Show Drive Tabs";
    EXPECT_TRUE(window->controls().FileViewFol1->ShowFolders());

    single->trigger();
    EXPECT_TRUE(window->controls().PathViewFol1->SingleDrive());
    EXPECT_FALSE(window->controls().FileViewFol1->ShowFolders());
    EXPECT_TRUE(window->controls().TabControlDriveFol1->isVisible());
    EXPECT_EQ(child<QToolButton>(*window, "ButtonSingleDrive")->toolTip(), QStringLiteral("All Drives (Path View)"));
    Q_EMIT drive->aboutToShow();
    EXPECT_EQ(single->text(), QStringLiteral("All Drives (Path View)"));
    EXPECT_TRUE(tabs->isVisible());
    EXPECT_EQ(tabs->text(), QStringLiteral("Hide Drive Type on Tabs"));
    tabs->trigger();
    Q_EMIT drive->aboutToShow();
    EXPECT_EQ(tabs->text(), QStringLiteral("Show Drive Type on Tabs"));
    EXPECT_EQ(listed(*window), window->CurrentPath());

    // The root selected: no Format Drive.
    TPathViewFol* tree = window->controls().PathViewFol1;
    tree->setCurrentItem(tree->rootNode());
    Q_EMIT drive->aboutToShow();
    EXPECT_FALSE(child<QAction>(*window, "MenuFormat")->isVisible());
}

TEST_F(BrowseWiringTest, DetailsButtonCyclesStylesAndItsMenuMarksStyleAndSort)
{
    auto window = shown();
    auto* button = child<QToolButton>(*window, "ButtonDetailType");
    TFileViewFol* list = window->controls().FileViewFol1;
    const TViewStyle cycle[] = {TViewStyle::vsList, TViewStyle::vsSmallIcon, TViewStyle::vsIcon, TViewStyle::vsReport};
    ASSERT_EQ(list->ViewStyle(), TViewStyle::vsReport);
    for (TViewStyle style : cycle) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
        EXPECT_EQ(list->ViewStyle(), style);
    }
    QMenu* display = window->driveMenu().PopupMenuFileDisplay();
    child<QAction>(*window, "PopupSmallIcon")->trigger();
    child<QAction>(*window, "PopupSortDate")->trigger();
    EXPECT_EQ(FileSortOrder::FileSortIndex, 3);
    Q_EMIT display->aboutToShow();
    for (const char* name : {"PopupDetails", "PopupList", "PopupSmallIcon", "PopupIcon", "PopupSortName", "PopupSortSize",
                             "PopupSortType", "PopupSortDate", "PopupSortAttr"}) {
        const bool marked = QLatin1String(name) == QLatin1String("PopupSmallIcon") || QLatin1String(name) == QLatin1String("PopupSortDate");
        EXPECT_EQ(child<QAction>(*window, name)->isChecked(), marked) << name;
    }
    window->close();
    AppSettings stored;
    SettingsStore(path()).load(stored);
    EXPECT_EQ(stored.fileViewIndex, 2);
    EXPECT_EQ(stored.fileSortIndex, 3);
}

TEST_F(BrowseWiringTest, FolderMenuShowsItemsByTheLevelOfTheSelectedNode)
{
    const QString folder = makeFolder(QStringLiteral("home/tree/inner"));
    store([&](AppSettings& s) { s.singleDrive = false; s.currentItemSel = folder; });
    auto window = shown();
    TPathViewFol* tree = window->controls().PathViewFol1;
    MainWindowFolderMenu& menu = window->folderMenu();
    auto visible = [&](const char* name) { return menu.PopupMenuPath()->findChild<QAction*>(QLatin1String(name))->isVisible(); };
    const char* folderOnly[] = {"PopUpPathCut", "PopUpPathDelete", "PopUpPathRename", "PopUpPathMoveTo"};
    const char* belowRoot[] = {"PopUpPathCopy", "PopUpPathNewFolder", "PopUpPathProperties"};

    ASSERT_EQ(tree->SelectedPath(), folder + QLatin1Char('/'));
    menu.PopupMenuPathPopup();
    for (const char* name : folderOnly)
        EXPECT_TRUE(visible(name)) << name;
    for (const char* name : belowRoot)
        EXPECT_TRUE(visible(name)) << name;
    EXPECT_FALSE(visible("PopUpPathPaste")) << "nothing waits to be pasted";
    EXPECT_FALSE(visible("PopUpPathFormat")) << "a folder of the home volume: the system's own";
    menu.setFolderPastePending(true);
    menu.PopupMenuPathPopup();
    EXPECT_TRUE(visible("PopUpPathPaste"));

    tree->setCurrentItem(tree->rootNode());
    menu.PopupMenuPathPopup();
    for (const char* name : folderOnly)
        EXPECT_FALSE(visible(name)) << name;
    for (const char* name : belowRoot)
        EXPECT_FALSE(visible(name)) << name;
    EXPECT_FALSE(visible("PopUpPathSend"));
    EXPECT_FALSE(visible("PopUpPathFormat"));
    EXPECT_TRUE(visible("PopUpPathRefresh"));
    EXPECT_EQ(menu.PopupMenuPath()->findChild<QAction*>(QStringLiteral("PopUpPathCollapseExpand"))->text(),
              QStringLiteral("Collapse"));
}

// The folder menu's "Paste" follows every copy and cut made in the tree, whichever way it
// was asked for (the Edit menu and its keys as well as the menu's own items), and a paste
// key with nothing to paste does nothing at all.
TEST_F(BrowseWiringTest, FolderPasteFollowsEveryTreeCopyAndAnEmptyPasteKeyIsSilent)
{
    const QString folder = makeFolder(QStringLiteral("home/clip/inner"));
    store([&](AppSettings& s) { s.singleDrive = false; s.currentItemSel = folder; });
    QApplication::clipboard()->clear();
    auto window = shown();
    TPathViewFol* tree = window->controls().PathViewFol1;
    MainWindowFolderMenu& menu = window->folderMenu();
    QAction* paste = menu.PopupMenuPath()->findChild<QAction*>(QStringLiteral("PopUpPathPaste"));
    auto action = [&](const char* name) { return window->findChild<QAction*>(QLatin1String(name)); };

    window->controls().FileViewFol1->currentView()->setFocus();
    action("MenuPaste")->trigger();
    tree->setFocus();
    action("MenuPaste")->trigger();
    EXPECT_TRUE(prompter().records().isEmpty()) << "nothing to paste: no message";

    for (const char* copy : {"MenuCopy", "MenuCut"}) {
        SCOPED_TRACE(copy);
        window->folderMenu().setFolderPastePending(false);
        tree->setFocus();
        action(copy)->trigger();
        menu.PopupMenuPathPopup();
        EXPECT_TRUE(paste->isVisible());
    }
}

TEST_F(BrowseWiringTest, OpeningAFileReachesTheViewCommandAndEnterTheFileViewer)
{
    const QString folder = makeFolder(QStringLiteral("home/open"));
    makeFile(QStringLiteral("home/open/letter.txt"), "Dear");
    makeFolder(QStringLiteral("home/open/inner"));
    store([&](AppSettings& s) { s.singleDrive = false; s.currentItemSel = folder; s.decendSort = true; });
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open"));
    auto window = shown();
    TFileViewFol* list = window->controls().FileViewFol1;
    auto* view = list->findChild<QTreeView*>(QStringLiteral("ReportView"));
    ASSERT_TRUE(list->SelectFileInList(folder + QStringLiteral("/letter.txt")));
    QSignalSpy viewCommand(window->controls().MenuViewFile, &QAction::triggered);
    const QRect row = view->visualRect(view->currentIndex());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(viewCommand.size(), 1) << "WM_VIEWSELECTED runs the View command";
    EXPECT_EQ(launcher.launches().size(), 0) << "which shows a text file in the program's own editor";
    EXPECT_EQ(window->CurrentMode(), vmTextEditor);
    window->enterMode(vmFileManager, folder + QStringLiteral("/letter.txt"));

    // Enter: the text/hex viewer for a file, nothing for a folder (the list keeps Enter off).
    QSignalSpy modes(window.get(), &TFormMainFolvane3::viewModeRequested);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(modes.size(), 1);
    EXPECT_EQ(modes.first().at(0).toInt(), int(vmFileViewer));
    EXPECT_EQ(window->CurrentFile(), folder + QStringLiteral("/letter.txt"));
    ASSERT_TRUE(list->SelectFileInList(folder + QStringLiteral("/inner")));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(modes.size(), 1);
    EXPECT_EQ(list->Directory(), folder + QLatin1Char('/'));
}

// The list's context menu is the window's PopupMenuFile (with New Folder and New Text File),
// and the tool band's New Text File button makes a new empty file beside the ones there,
// never over one of them.
TEST_F(BrowseWiringTest, ListShowsTheWindowFileMenuAndTheNewTextFileButtonActs)
{
    const QString folder = makeFolder(QStringLiteral("home/popup"));
    makeFile(QStringLiteral("home/popup/Newtext.txt"), "kept");
    store([&](AppSettings& s) { s.currentItemSel = folder; });
    auto window = shown();
    TFileViewFol* list = window->controls().FileViewFol1;
    auto* menu = window->findChild<QMenu*>(QStringLiteral("PopupMenuFile"));
    ASSERT_NE(menu, nullptr);
    QAbstractItemView* view = list->currentView();
    QContextMenuEvent click(QContextMenuEvent::Mouse, view->viewport()->rect().center(),
                            view->viewport()->mapToGlobal(view->viewport()->rect().center()));
    QApplication::sendEvent(view->viewport(), &click);
    EXPECT_TRUE(menu->isVisible());
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("New Folder")));
    EXPECT_TRUE(captions.contains(QStringLiteral("New Text File")));
    menu->close();

    // The button acts once the idle handler has found the folder and enabled it.
    auto* newTextFile = window->findChild<QToolButton*>(QStringLiteral("ButtonNewTextFile"));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        window->idle().UpdateControlStates();
        return newTextFile->isEnabled();
    }, 5000));
    newTextFile->click();
    ASSERT_TRUE(waitForList(*list));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), (QStringList{"Newtext.txt", "Newtext0.txt"}));
    QFile kept(folder + QStringLiteral("/Newtext.txt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "kept");
    EXPECT_EQ(list->selectedPaths(), QStringList{folder + QStringLiteral("/Newtext0.txt")});
}

TEST_F(BrowseWiringTest, TipsNameSizeAndTypeOfRowsAndTheDriveOfTabs)
{
    const QString folder = makeFolder(QStringLiteral("home/tips"));
    makeFile(QStringLiteral("home/tips/song.txt"), "la la");
    store([&](AppSettings& s) { s.currentItemSel = folder; });
    auto window = shown();
    TFileViewFol* list = window->controls().FileViewFol1;
    ASSERT_EQ(list->model().rowCount(), 1);
    const QString tip = window->browse().FileViewFol1InfoTip(0);
    EXPECT_EQ(tip, QStringLiteral("song.txt\r\n") + list->model().index(0, 1).data().toString() + QStringLiteral("\r\n")
                       + list->model().index(0, 2).data().toString());
    EXPECT_TRUE(window->browse().FileViewFol1InfoTip(5).isEmpty()) << "no row, no tip";
    TTabControlDriveFol* tabs = window->controls().TabControlDriveFol1;
    ASSERT_GT(tabs->count(), 0);
    const DriveInfo drive = tabs->tabList().at(0).drive;
    EXPECT_EQ(window->browse().TabControlDriveFol1Hint(0),
              drive.caption() + QStringLiteral(" (") + drive.root + QStringLiteral(")\r\n") + DriveTypeText(drive.type));
    EXPECT_TRUE(window->browse().TabControlDriveFol1Hint(tabs->count()).isEmpty()) << "over no tab the hint stays";
}

// The window's list shows sizes in bytes (no KB rounding) and dates month first with the
// full year.
TEST_F(BrowseWiringTest, ListShowsSizesInBytesAndDatesMonthDayYear)
{
    const QString folder = makeFolder(QStringLiteral("home/sized"));
    const QString file = makeFile(QStringLiteral("home/sized/data.bin"), QByteArray(1234, 'x'));
    const QDateTime stamp(QDate(2021, 3, 4), QTime(17, 6));
    QFile touched(file);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(stamp, QFileDevice::FileModificationTime));
    touched.close();
    store([&](AppSettings& s) { s.currentItemSel = folder; });
    auto window = shown();
    TFileViewFol* list = window->controls().FileViewFol1;
    EXPECT_EQ(list->FileSize(), TFileSize::fsByte);
    EXPECT_EQ(list->DateFormat(), TDtFormat::df_MMddyyyy);
    ASSERT_EQ(list->model().rowCount(), 1);
    EXPECT_EQ(list->model().index(0, 1).data().toString(), QStringLiteral("1234"));
    const QString date = list->model().index(0, 3).data().toString();
    EXPECT_TRUE(date.startsWith(QStringLiteral("03/04/2021 "))) << date.toStdString();
}

TEST_F(BrowseWiringTest, TreeGreysReadOnlyAndHiddenFoldersAndStrikesHiddenOnes)
{
    const QString plain = makeFolder(QStringLiteral("home/plain"));
    const QString hidden = makeFolder(QStringLiteral("home/.hidden"));
    const QString locked = makeFolder(QStringLiteral("home/locked"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Case {
        QString folder;
        bool grey;
        bool struck;
    } cases[] = {{plain, false, false}, {hidden, true, true}, {locked, true, false}};
    for (const Case& c : cases) {
        // The attributes the tree reads with the folder, as the list reads them.
        const uint32_t attributes = FolderReader::entryAttributes(c.folder).value_or(0);
        EXPECT_EQ(FolderNodeDelegate::isGreyed(attributes), c.grey) << c.folder.toStdString();
        EXPECT_EQ(FolderNodeDelegate::isHidden(attributes), c.struck) << c.folder.toStdString();
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    TFormMainFolvane3 window(path());
    EXPECT_NE(qobject_cast<FolderNodeDelegate*>(window.controls().PathViewFol1->itemDelegate()), nullptr);
}

TEST_F(BrowseWiringTest, RefreshOfAVanishedFolderGoesToItsNearestExistingParent)
{
    const QString parent = makeFolder(QStringLiteral("home/keep"));
    const QString doomed = makeFolder(QStringLiteral("home/keep/doomed"));
    store([&](AppSettings& s) { s.currentItemSel = doomed; });
    auto window = shown();
    ASSERT_EQ(listed(*window), doomed + QLatin1Char('/'));
    QDir(doomed).removeRecursively();
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(listed(*window), parent + QLatin1Char('/'));
    EXPECT_EQ(window->CurrentPath(), parent + QLatin1Char('/'));
    EXPECT_EQ(window->controls().PathViewFol1->SelectedPath(), parent + QLatin1Char('/'));
    EXPECT_TRUE(prompter().records().isEmpty());
}

} // namespace
