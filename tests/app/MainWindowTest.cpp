// The main window: every named control in its place, settings applied to the controls and
// read back at close, one tool-band layout per mode, the keys of FormKeyUp and the two
// private messages.
#include "app/FolvaneApplication.h"
#include "app/MainWindowBands.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowOptions.h"
#include "app/SettingsStore.h"
#include "app/TFormMainFolvane3.h"
#include "app/TSplashForm.h"
#include "app/MainWindowBrowse.h"
#include "app/MainWindowFolderMenu.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Registry.h"
#include "tests/app/MainWindowFixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    Registry reopened(const QString& key)
    {
        Registry registry(path());
        EXPECT_TRUE(registry.load());
        EXPECT_TRUE(registry.openKey(key, false));
        return registry;
    }
};

// The toolkit appends the application's display name to every title it hands the window
// system once one is set ("Copy — <display name>"). The program sets none: with the
// application renamed afterwards, the display name follows the plain name.
TEST_F(MainWindowTest, TitlesReachTheWindowSystemWithoutASuffix)
{
    const QString before = QCoreApplication::applicationName();
    FolvaneApplication::nameApplication();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("folvane3"));
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(before);

    TFormMainFolvane3 window(path());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("FolVane III"));
}

TEST_F(MainWindowTest, EveryNamedControlExistsInItsPlace)
{
    TFormMainFolvane3 window(path());
    EXPECT_EQ(window.objectName(), QStringLiteral("FormMainFolvane3"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("FolVane III"));

    QStringList captions;
    for (QAction* top : window.menuBar()->actions())
        captions.append(top->text().remove(QLatin1Char('&')));
    // The favourites component puts "Favorites" third, after "File" and "Path".
    EXPECT_EQ(captions, (QStringList{"File", "Path", "Favorites", "Edit", "Search", "Music", "Drive", "File Tools", "Tools",
                                     "Options", "Help"}));
    const auto* exit = window.findChild<QAction*>(QStringLiteral("MenuExit"));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->statusTip(), QStringLiteral("Exit Folvane"));

    for (const char* name : {"MainMenu1", "ComboBoxURL", "TabControlDriveFol1", "PanelPath", "PathViewFol1",
                             "Splitter1", "Splitter2", "PanelAudio", "FileViewFol1", "TextEditor", "FileViewer",
                             "WebBrowser1", "ScrollBox1", "ImageViewer", "ZipViewer", "MediaTrackBar", "StatusBar",
                             "MeterItemStatus", "ComboBoxMask", "ComboboxScaleJPG", "ButtonHex", "SpinViewer",
                             "ButtonLoopMovie", "ToolButtonContinuousPlay", "ToolButtonShuffle", "TrackBarMediaRes"})
        EXPECT_NE(window.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    for (const char* name : {"MenuFile", "MenuPath", "MenuEdit", "MenuSearch", "MenuMusic", "MenuDrive",
                             "MenuFileTools", "MenuTools", "MenuHelp"})
        EXPECT_NE(window.findChild<QMenu*>(QLatin1String(name)), nullptr) << name;

    EXPECT_NE(window.findChild<MainWindowBands*>(QStringLiteral("CoolBar1")), nullptr);
    // Seven bands in three design rows.
    const char* const bands[] = {"ToolBarGlobal",     "ToolBarMovie", "ToolBarImage",     "ToolBarBrowser",
                                 "ToolBarTextEditor", "ToolBarView",  "ToolBarFileManger"};
    for (int i = 0; i < kBandCount; ++i) {
        auto* bar = window.findChild<QToolBar*>(QLatin1String(bands[i]));
        ASSERT_NE(bar, nullptr) << bands[i];
        EXPECT_EQ(window.toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_TRUE(bar->isMovable()) << bands[i];
        EXPECT_EQ(window.toolBarBreak(bar), i == bandBrowser || i == bandFileManger) << bands[i];
    }
}

// Alt and a letter reaches each top menu: two menus underlining the same letter leave the
// second unreachable from the keyboard ("O&ptions" once lost its Alt+P to "&Path").
TEST_F(MainWindowTest, EveryTopMenuHasItsOwnAccessKey)
{
    TFormMainFolvane3 window(path());
    QMap<QString, QString> owners;
    for (QAction* top : window.menuBar()->actions()) {
        const QString key = QKeySequence::mnemonic(top->text()).toString().toLower();
        if (key.isEmpty())
            continue;
        EXPECT_FALSE(owners.contains(key)) << top->text().toStdString() << " and " << owners.value(key).toStdString();
        owners.insert(key, top->text());
    }
    EXPECT_EQ(QKeySequence::mnemonic(window.controls().MenuOptionSet->text()), QKeySequence(Qt::ALT | Qt::Key_I));
}

TEST_F(MainWindowTest, StatusBarHasFourPanelsWithTheMeterInTheFourth)
{
    auto window = shown();
    const MainWindowControls& c = window->controls();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.statusPanels[i]->width(), MainWindowLayout::kStatusWidths[i]) << i;
    c.MeterItemStatus->show();
    QApplication::processEvents();
    const QRect panel = MainWindowLayout::statusPanelRect(c, 3);
    const QRect meter(c.MeterItemStatus->mapTo(c.StatusBar, QPoint(0, 0)), c.MeterItemStatus->size());
    EXPECT_TRUE(panel.contains(meter)) << "meter outside the fourth panel";
    EXPECT_GT(meter.width(), 50);
}

TEST_F(MainWindowTest, StoredValuesReachTheControlsAndComeBackAtClose)
{
    store([](AppSettings& s) {
        s.pathWidth = 300;
        s.maskIndex = 3;
        s.tabBottom = true;
        s.hex = true;
        s.continuousPlay = false;
        s.loopMovie = true;
        s.scaleJPGIndex = 2;
        s.movieRes = 1;
        s.colNameWidth = 222;
        s.animateStartup = false;
    });
    auto window = shown();
    const MainWindowControls& c = window->controls();
    EXPECT_EQ(c.PanelPath->width(), 300);
    EXPECT_EQ(c.ComboBoxMask->currentText(), QStringLiteral("*.avi"));
    EXPECT_EQ(c.ComboBoxMask->toolTip(), QStringLiteral("Current Mask = *.avi"));
    EXPECT_EQ(c.ComboBoxMask->count(), 38);
    EXPECT_GT(c.clientLayout->indexOf(c.TabControlDriveFol1), c.clientLayout->indexOf(c.Splitter1));
    EXPECT_TRUE(c.ButtonHex->isChecked());
    EXPECT_FALSE(c.MenuContinuousplay->isChecked());
    EXPECT_FALSE(c.ToolButtonContinuousPlay->isChecked()) << "the tool button follows its menu item";
    EXPECT_TRUE(c.ButtonLoopMovie->isChecked());
    EXPECT_EQ(c.ComboboxScaleJPG->currentText(), QStringLiteral("1:4"));
    EXPECT_EQ(c.TrackBarMediaRes->value(), 1);
    EXPECT_EQ(window->settings().colNameWidth, 222) << "kept for the file list";

    c.Splitter1->setSizes({275, window->width() - 275});
    c.MenuShuffle->trigger();
    c.ComboBoxMask->setCurrentIndex(0);
    window->close();

    Registry registry = reopened(SettingsStore::kProgramKey);
    EXPECT_EQ(registry.readInteger(QStringLiteral("PathWidth")), 275);
    EXPECT_EQ(registry.readInteger(QStringLiteral("ColNameWidth")), 222);
    EXPECT_EQ(registry.readInteger(QStringLiteral("AppState")), 3);
    EXPECT_EQ(reopened(SettingsStore::subkeyPath("Options")).readInteger(QStringLiteral("Shuffle")), 0);
    EXPECT_EQ(reopened(SettingsStore::subkeyPath("Mask")).readInteger(QStringLiteral("MaskIndex")), 0);
}

TEST_F(MainWindowTest, FirstRunStoresTheStartFolderAndTheBuiltInMasks)
{
    auto window = shown();
    Registry mru = reopened(SettingsStore::subkeyPath("MRUPath"));
    EXPECT_EQ(mru.readString(QStringLiteral("MRUPath0")), QDir::homePath());
    EXPECT_FALSE(mru.valueExists(QStringLiteral("MRUPath1")));
    EXPECT_EQ(window->CurrentPath(), QDir::homePath() + QLatin1Char('/'));
    Registry masks = reopened(SettingsStore::subkeyPath("Mask"));
    EXPECT_EQ(masks.readString(QStringLiteral("Mask37")), QStringLiteral("*.zip"));
    EXPECT_FALSE(masks.valueExists(QStringLiteral("Mask38")));
}

TEST_F(MainWindowTest, WindowStateOpensNormalUnlessStoredMaximised)
{
    const std::pair<int, Qt::WindowStates> cases[] = {
        {1, Qt::WindowMaximized}, {2, Qt::WindowNoState}, {3, Qt::WindowNoState},
        {0, Qt::WindowNoState},   {-7, Qt::WindowNoState},
    };
    for (const auto& [stored, expected] : cases) {
        store([stored](AppSettings& s) { s.appState = stored; });
        TFormMainFolvane3 window(path());
        EXPECT_EQ(window.windowState(), expected) << "AppState " << stored;
        EXPECT_EQ(window.startsMaximized(), stored == 1);
    }
}

TEST_F(MainWindowTest, EachModeKeepsItsOwnBandLayout)
{
    auto window = shown();
    MainWindowBands& bands = window->bands();
    const MainWindowControls& c = window->controls();
    QToolBar* global = c.bands[bandGlobal];

    // The user puts the file manager band beside the global band.
    QList<BandRecord> fileManager = bands.layout();
    std::stable_partition(fileManager.begin(), fileManager.end(),
                          [](const BandRecord& b) { return b.toolBar == bandGlobal || b.toolBar == bandFileManger; });
    fileManager[1].newRow = false;
    bands.applyLayout(fileManager);
    QApplication::processEvents();
    ASSERT_EQ(c.bands[bandFileManger]->y(), global->y());

    window->enterMode(vmTextEditor);
    QApplication::processEvents();
    EXPECT_TRUE(c.bands[bandTextEditor]->isVisible());
    EXPECT_FALSE(c.bands[bandFileManger]->isVisible());
    EXPECT_FALSE(c.PanelPath->isVisible());
    EXPECT_GT(c.bands[bandTextEditor]->y(), global->y()) << "the editor band starts in its own row";

    // In the editor the user puts the editor band beside the global band; the design rows
    // come back for the others, so the file manager band leaves the first row.
    QList<BandRecord> editor = {{bandGlobal, true, 0}, {bandTextEditor, false, 0}};
    for (int i = 0; i < kBandCount; ++i) {
        if (i != bandGlobal && i != bandTextEditor)
            editor.append({i, MainWindowLayout::kBandStartsRow[i], 0});
    }
    bands.applyLayout(editor);
    QApplication::processEvents();
    ASSERT_EQ(c.bands[bandTextEditor]->y(), global->y());

    window->enterMode(vmFileManager);
    QApplication::processEvents();
    EXPECT_EQ(c.bands[bandFileManger]->y(), global->y()) << "the file manager layout came back";
    EXPECT_GT(c.bands[bandFileManger]->x(), global->x());

    window->enterMode(vmTextEditor);
    QApplication::processEvents();
    EXPECT_EQ(c.bands[bandTextEditor]->y(), global->y()) << "the editor layout came back";
    window->enterMode(vmFileManager);

    // A stored layout that cannot be applied leaves the bands as they are.
    SettingsStore(path()).saveBandLayout(vmTextEditor, QByteArray("FVB\x01\x07", 5));
    window->enterMode(vmTextEditor);
    QApplication::processEvents();
    EXPECT_TRUE(c.bands[bandTextEditor]->isVisible());
    EXPECT_GT(c.bands[bandTextEditor]->y(), global->y()) << "the layout stayed as the file manager left it";
    EXPECT_EQ(window->CurrentMode(), vmTextEditor);

    // The next start restores the stored mode's layout.
    window->enterMode(vmFileManager);
    window->close();
    window.reset();
    auto again = shown();
    QApplication::processEvents();
    EXPECT_EQ(again->controls().bands[bandFileManger]->y(), again->controls().bands[bandGlobal]->y());
}

TEST_F(MainWindowTest, MovingABandSavesTheLayoutOfTheCurrentMode)
{
    auto window = shown();
    const MainWindowControls& c = window->controls();
    QToolBar* files = c.bands[bandFileManger];
    // What a drag does: the band leaves its row and lands beside the global band.
    window->removeToolBar(files);
    window->insertToolBar(c.bands[bandMovie], files);
    files->show();
    QApplication::processEvents();
    ASSERT_EQ(files->y(), c.bands[bandGlobal]->y());
    window->bands().flush();

    const auto record = SettingsStore(path()).loadBandLayout(vmFileManager);
    ASSERT_TRUE(record);
    const auto bands = BandLayout::decode(*record, kBandCount);
    ASSERT_TRUE(bands);
    EXPECT_EQ(bands->at(0).toolBar, bandGlobal);
    EXPECT_EQ(bands->at(1).toolBar, bandFileManger);
    EXPECT_FALSE(bands->at(1).newRow);
    EXPECT_EQ(bands->at(1).width, files->width());
}

TEST_F(MainWindowTest, ArrowKeysStepFilesOnlyInMovieAndImageModesWithoutModifiers)
{
    auto window = shown();
    QSignalSpy steps(window.get(), &TFormMainFolvane3::stepFileRequested);
    struct Case {
        int mode;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected; // 0: no step
    };
    const Case cases[] = {
        {vmMoviePlayer, Qt::Key_Left, Qt::NoModifier, -1},   {vmImageViewer, Qt::Key_Right, Qt::NoModifier, 1},
        {vmImageViewer, Qt::Key_Right, Qt::ShiftModifier, 0}, {vmMoviePlayer, Qt::Key_Left, Qt::ControlModifier, 0},
        {vmImageViewer, Qt::Key_Up, Qt::NoModifier, 0},       {vmFileManager, Qt::Key_Left, Qt::NoModifier, 0},
        {vmTextEditor, Qt::Key_Right, Qt::NoModifier, 0},
    };
    for (const Case& c : cases) {
        window->enterMode(c.mode);
        steps.clear();
        QTest::keyRelease(static_cast<QWidget*>(window->controls().rightPane), c.key, c.modifiers);
        ASSERT_EQ(steps.size(), c.expected ? 1 : 0) << "mode " << c.mode << " key " << c.key;
        if (c.expected) {
            EXPECT_EQ(steps.first().first().toInt(), c.expected);
        }
    }
}

TEST_F(MainWindowTest, LoadProgressReachesTheSplashOnlyUntilTheWindowIsShown)
{
    TSplashForm splash;
    TFormMainFolvane3 window(path());
    window.setSplash(&splash);
    EXPECT_EQ(splash.Label1()->text(), QStringLiteral("Loading Drives, Folders & Files..."));
    window.loadProgress(12, QStringLiteral("notes.txt"));
    EXPECT_EQ(splash.Label1()->text(), QStringLiteral("Loading Drives, Folders & Files... notes.txt > 12"));
    QSignalSpy done(&window, &TFormMainFolvane3::splashDone);
    makeFile(QStringLiteral("home/listed.txt"));
    window.show();
    ASSERT_TRUE(done.size() > 0 || done.wait(10000)) << "the start folder is listed";
    EXPECT_EQ(done.size(), 1);
    const QString shown = splash.Label1()->text();
    EXPECT_TRUE(shown.contains(QLatin1String("listed.txt > "))) << "the start folder's listing reports its entries";
    window.loadProgress(13, QStringLiteral("later.txt"));
    EXPECT_EQ(splash.Label1()->text(), shown);
}

TEST_F(MainWindowTest, ViewSelectedRunsTheViewCommand)
{
    TFormMainFolvane3 window(path());
    QSignalSpy view(window.controls().MenuViewFile, &QAction::triggered);
    window.viewSelected();
    EXPECT_EQ(view.size(), 1);
}

TEST_F(MainWindowTest, SettingsThatCannotBeReadOrWrittenAreReported)
{
    // Damaged: kept aside, reported once the window shows.
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile damaged(path());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("[Software\\QuorVel]\n\"AppTop\"=\n");
    }
    prompter().answer(PromptButton::Ok);
    {
        TFormMainFolvane3 window(path());
        EXPECT_TRUE(prompter().records().isEmpty()) << "nothing is asked before the window shows";
        window.show();
        window.close();
    }
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Warning);
    EXPECT_TRUE(prompter().last().text.contains(QLatin1String("line 2"))) << prompter().last().text.toStdString();
    EXPECT_TRUE(QFile::exists(path() + QStringLiteral(".damaged")));
    EXPECT_TRUE(QFile::exists(path()));

    // Unwritable: every failed save says so.
    prompter().clear();
    makeFile(QStringLiteral("blocker"), "a file where the settings folder should be");
    const QString blocked = home().root() + QStringLiteral("/blocker/registry.txt");
    prompter().answer(PromptButton::Ok).answer(PromptButton::Ok).answer(PromptButton::Ok);
    {
        TFormMainFolvane3 window(blocked);
        QSignalSpy started(&window, &TFormMainFolvane3::splashDone);
        window.show();
        ASSERT_TRUE(started.wait(10000)) << "the start folder is opened";
        window.close();
    }
    ASSERT_EQ(prompter().records().size(), 3);
    EXPECT_EQ(prompter().records()[0].kind, PromptKind::Warning);
    for (int i : {1, 2}) {
        EXPECT_EQ(prompter().records()[i].kind, PromptKind::Error);
        EXPECT_TRUE(prompter().records()[i].text.startsWith(
            QLatin1String("Cannot save the settings: cannot create the folder")))
            << prompter().records()[i].text.toStdString();
    }
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndWritesTheSettings)
{
    auto window = shown();
    QFile::remove(path());
    window->controls().MenuExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(path()));
}

} // namespace

namespace {

// The transfer commands sit in the File and Edit menus with the window's shortcuts.
TEST_F(MainWindowTest, TransferCommandsSitInTheFileAndEditMenus)
{
    auto window = shown();
    const auto names = [](const QMenu* menu) {
        QStringList list;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                list << action->objectName();
        }
        return list;
    };
    const QMenu* edit = window->menuBar()->findChild<QMenu*>(QStringLiteral("MenuEdit"));
    ASSERT_NE(edit, nullptr);
    // The viewer and editor modes add Undo, Font and Clear All Text around them.
    EXPECT_EQ(names(edit), (QStringList{"MenuUnDo", "MenuCut", "MenuCopy", "MenuPaste", "MenuDelete", "MenuRename", "MenuSelectAll",
                                        "MenuFont", "MenuClearAllText"}));
    const struct {
        const char* name;
        QKeySequence key;
    } keys[] = {{"MenuCut", QKeySequence(Qt::CTRL | Qt::Key_X)},
                {"MenuCopy", QKeySequence(Qt::CTRL | Qt::Key_C)},
                {"MenuPaste", QKeySequence(Qt::CTRL | Qt::Key_V)},
                {"MenuDelete", QKeySequence(Qt::Key_Delete)},
                {"MenuSelectAll", QKeySequence(Qt::CTRL | Qt::Key_A)}};
    for (const auto& key : keys)
        EXPECT_EQ(window->findChild<QAction*>(QLatin1String(key.name))->shortcut(), key.key) << key.name;
    const QMenu* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("MenuFile"));
    const QStringList fileItems = names(file);
    for (const char* name : {"MenuNewFolder", "MenuNewTextFile", "MenuProperties"})
        EXPECT_TRUE(fileItems.contains(QLatin1String(name))) << name;
    EXPECT_EQ(names(file->findChild<QMenu*>(QStringLiteral("MenuSend"))), (QStringList{"MenuCopyTo", "MenuMoveTo"}));
    EXPECT_EQ(fileItems.last(), QStringLiteral("MenuExit"));
    EXPECT_NE(window->findChild<QMenu*>(QStringLiteral("PopupMenuFile")), nullptr);
    EXPECT_EQ(window->findChildren<QMenu*>(QStringLiteral("PopupMenuPath")).size(), 1);
}

// The mail command's entry points all reach the window's one mail action: the mail button,
// the editor band's Email, the list popup's "Send ..." > "Email" and the editor's "Send As
// Mail". (What the mail holds is tested with the mail command itself.)
TEST_F(MainWindowTest, MailEntryPointsRunTheMailAction)
{
    auto window = shown();
    auto* mail = window->findChild<QAction*>(QStringLiteral("MenuMail"));
    ASSERT_NE(mail, nullptr);
    QObject::disconnect(mail, &QAction::triggered, nullptr, nullptr); // no mail program is started here
    QSignalSpy mailed(mail, &QAction::triggered);
    auto* editorBand = window->findChild<QToolBar*>(QStringLiteral("ToolBarTextEditor"));
    auto* editorMail = editorBand->findChild<QToolButton*>(QStringLiteral("ButtonTextEditorMail"));
    ASSERT_NE(editorMail, nullptr);
    EXPECT_EQ(editorMail->toolTip(), QStringLiteral("Email"));
    auto* send = window->findChild<QMenu*>(QStringLiteral("PopupMenuFile"))->findChild<QMenu*>(QStringLiteral("PopupFileSend"));
    ASSERT_NE(send, nullptr);
    auto* sendEmail = send->findChild<QAction*>(QStringLiteral("PopupFileEmail"));
    ASSERT_NE(sendEmail, nullptr);
    EXPECT_EQ(sendEmail->text(), QStringLiteral("Email"));
    auto* sendAsMail = window->findChild<QAction*>(QStringLiteral("PopupTextEditorMail"));
    ASSERT_NE(sendAsMail, nullptr);
    EXPECT_EQ(sendAsMail->text(), QStringLiteral("Send As Mail"));

    window->findChild<QToolButton*>(QStringLiteral("ButtonMail"))->click();
    editorMail->click();
    sendEmail->trigger();
    sendAsMail->trigger();
    EXPECT_EQ(mailed.size(), 4);
}

} // namespace

namespace {

// Ctrl+C in the list and Ctrl+V after going to another folder copy the selected file; the
// list popup opens from the list.
TEST_F(MainWindowTest, CopyAndPasteWithTheKeysInTheList)
{
    const QString from = makeFolder(QStringLiteral("keys/from"));
    const QString to = makeFolder(QStringLiteral("keys/to"));
    makeFile(QStringLiteral("keys/from/note.txt"), "note");
    auto window = shown();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    TFileViewFol* list = window->controls().FileViewFol1;
    window->browse().goToFolder(from);
    ASSERT_TRUE(waitForList(*list));
    ASSERT_TRUE(list->SelectFileInList(from + QStringLiteral("/note.txt")));
    list->currentView()->setFocus();
    QTest::keyClick(list->currentView(), Qt::Key_C, Qt::ControlModifier);
    window->browse().goToFolder(to);
    ASSERT_TRUE(waitForList(*list));
    list->currentView()->setFocus();
    QTest::keyClick(list->currentView(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(waitForList(*list));
    EXPECT_TRUE(QFileInfo(to + QStringLiteral("/note.txt")).isFile());
    EXPECT_TRUE(QFileInfo(from + QStringLiteral("/note.txt")).isFile());
    EXPECT_TRUE(list->SelectFileInList(to + QStringLiteral("/note.txt")));

    // The folder popup copies the tree's folder and, once it is pending, offers Paste.
    QMenu* folderMenu = window->folderMenu().PopupMenuPath();
    const auto item = [folderMenu](const char* name) { return folderMenu->findChild<QAction*>(QLatin1String(name)); };
    window->browse().goToFolder(from);
    item("PopUpPathCopy")->trigger();
    window->browse().goToFolder(to);
    window->folderMenu().PopupMenuPathPopup();
    ASSERT_TRUE(item("PopUpPathPaste")->isVisible());
    item("PopUpPathPaste")->trigger();
    EXPECT_TRUE(QFileInfo(to + QStringLiteral("/from/note.txt")).isFile());
}

} // namespace

namespace {

// The options dialog's "Delete TEMP files" of the real window: the temporary folder's files
// go on a worker while the window's event loop runs on; the folder itself stays.
TEST_F(MainWindowTest, OptionsEmptyTheTemporaryFolderOnAWorker)
{
    const QString tmp = makeFolder(QStringLiteral("tmp"));
    for (int i = 0; i < 1000; ++i)
        makeFile(QStringLiteral("tmp/old%1.txt").arg(i), "x");
    auto window = shown();
    qputenv("TMPDIR", tmp.toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("TMPDIR"); });
    auto* options = window->findChild<MainWindowOptions*>();
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->tempFolder(), tmp);
    int passes = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&passes] { ++passes; });
    tick.start(0);
    EXPECT_TRUE(options->emptyTempFolder());
    tick.stop();
    EXPECT_GT(passes, 0) << "the window's event loop did not run while the folder was emptied";
    EXPECT_TRUE(QDir(tmp).exists());
    EXPECT_TRUE(QDir(tmp).isEmpty());
}

} // namespace
