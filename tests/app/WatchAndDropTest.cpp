// The main window follows changes made by other programs (real inotify in a temporary
// folder) and takes drops on its panes through real drag and drop events carrying
// text/uri-list data as other file managers send it.
#include "app/FolvaneApplication.h"
#include "app/MainWindowWatch.h"
#include "app/ProgramSound.h"
#include "browse/FileListModel.h"
#include "browse/FolderDrag.h"
#include "fileops/ui/DropTargets.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "support/FakeMediaPlayer.h"
#include "tests/app/MainWindowFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {

class WatchAndDropTest : public MainWindowFixture {
protected:
    std::unique_ptr<TFormMainFolvane3> showing(const QString& folder, const QString& item = QString())
    {
        store([&](AppSettings& s) {
            s.currentItemSel = item.isEmpty() ? folder : item;
            s.currentPathSel = folder + QLatin1Char('/');
        });
        auto window = shown();
        EXPECT_EQ(window->controls().FileViewFol1->Directory(), folder + QLatin1Char('/'));
        // The watches are taken on a worker; wait until they are in place.
        QTest::qWait(300);
        return window;
    }

    static QStringList names(TFormMainFolvane3& window)
    {
        QStringList out;
        const FileListModel& model = window.controls().FileViewFol1->model();
        for (int r = 0; r < model.rowCount(); ++r)
            out << PathText::nameOf(model.index(r, 0).data(FileListModel::FullPathRole).toString());
        return out;
    }

    static bool waitUntilListed(TFormMainFolvane3& window, const std::function<bool(const QStringList&)>& test)
    {
        return QTest::qWaitFor([&] { return test(names(window)); }, 5000);
    }

    static void createByOtherProgram(const QString& path)
    {
        const int fd = ::open(FileName::encode(path).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }

    static void showFolders(TFormMainFolvane3& window)
    {
        window.controls().FileViewFol1->setShowFolders(true); // re-reads the list
        ASSERT_TRUE(waitForList(*window.controls().FileViewFol1));
    }

    static QAbstractItemView* listView(TFormMainFolvane3& window) { return window.controls().FileViewFol1->currentView(); }
};

TEST_F(WatchAndDropTest, FilesMadeRemovedAndRenamedByOthersShowAndTheSelectionStays)
{
    const QString folder = makeFolder(QStringLiteral("home/shown"));
    makeFile(QStringLiteral("home/shown/keep.txt"));
    makeFile(QStringLiteral("home/shown/old.txt"));
    auto window = showing(folder, folder + QStringLiteral("/keep.txt"));
    ASSERT_EQ(window->controls().FileViewFol1->SelectedItem(), folder + QStringLiteral("/keep.txt"));

    createByOtherProgram(folder + QStringLiteral("/new.txt"));
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) { return n.contains(QStringLiteral("new.txt")); }));
    ASSERT_TRUE(QFile::rename(folder + QStringLiteral("/old.txt"), folder + QStringLiteral("/renamed.txt")));
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) {
        return n.contains(QStringLiteral("renamed.txt")) && !n.contains(QStringLiteral("old.txt"));
    }));
    // The selected item renamed stays selected under its new name.
    ASSERT_TRUE(QFile::rename(folder + QStringLiteral("/keep.txt"), folder + QStringLiteral("/kept.txt")));
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) { return n.contains(QStringLiteral("kept.txt")); }));
    ASSERT_TRUE(waitForList(*window->controls().FileViewFol1));
    EXPECT_EQ(window->controls().FileViewFol1->selectedPaths(), QStringList{folder + QStringLiteral("/kept.txt")});
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/new.txt")));
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) { return !n.contains(QStringLiteral("new.txt")); }));
    ASSERT_TRUE(waitForList(*window->controls().FileViewFol1));
    EXPECT_EQ(window->controls().FileViewFol1->selectedPaths(), QStringList{folder + QStringLiteral("/kept.txt")});
}

TEST_F(WatchAndDropTest, AFolderAndAFileMadeAtOnceShowInTheTreeAndTheList)
{
    const QString folder = makeFolder(QStringLiteral("home/shown"));
    makeFolder(QStringLiteral("home/shown/existing"));
    auto window = showing(folder);
    showFolders(*window);
    TPathViewFol* tree = window->controls().PathViewFol1;
    ASSERT_TRUE(waitForTree(*tree));
    QTreeWidgetItem* node = tree->nodeOfPath(folder);
    ASSERT_NE(node, nullptr);
    tree->expandItem(node);
    ASSERT_TRUE(waitForTree(*tree));
    QTest::qWait(200); // the open node's watch

    ASSERT_TRUE(QDir().mkdir(folder + QStringLiteral("/made")));
    createByOtherProgram(folder + QStringLiteral("/made.txt"));
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) {
        return n.contains(QStringLiteral("made")) && n.contains(QStringLiteral("made.txt"));
    })) << names(*window).join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree->nodeOfPath(folder + QStringLiteral("/made")) != nullptr; }, 5000));
    EXPECT_NE(tree->nodeOfPath(folder + QStringLiteral("/existing")), nullptr) << "the other nodes stay";

    ASSERT_TRUE(QDir().rmdir(folder + QStringLiteral("/made")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree->nodeOfPath(folder + QStringLiteral("/made")) == nullptr; }, 5000));
}

TEST_F(WatchAndDropTest, TheShownFolderRemovedSendsThePanesToItsParent)
{
    const QString parent = makeFolder(QStringLiteral("home/up"));
    const QString folder = makeFolder(QStringLiteral("home/up/doomed"));
    auto window = showing(folder);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->controls().FileViewFol1->Directory() == parent + QLatin1Char('/'); }, 5000));
    EXPECT_EQ(window->controls().PathViewFol1->SelectedPath(), parent + QLatin1Char('/'));
}

TEST_F(WatchAndDropTest, ABurstCostsAFewReloads)
{
    const QString folder = makeFolder(QStringLiteral("home/burst"));
    auto window = showing(folder);
    QSignalSpy refreshed(&window->watch(), &MainWindowWatch::refreshed);
    constexpr int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i) {
        createByOtherProgram(folder + QStringLiteral("/f") + QString::number(i));
        if (i % 200 == 0)
            QCoreApplication::processEvents(); // the window answers meanwhile
    }
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) { return n.size() >= kFiles; }));
    EXPECT_LE(refreshed.size(), 20);
}

TEST_F(WatchAndDropTest, NothingReloadsWhileAViewerIsShownAndOnceOnReturn)
{
    const QString folder = makeFolder(QStringLiteral("home/shown"));
    const QString text = makeFile(QStringLiteral("home/shown/a.txt"), "hello\n");
    auto window = showing(folder, text);
    ASSERT_TRUE(window->enterMode(vmFileViewer, text));
    QSignalSpy refreshed(&window->watch(), &MainWindowWatch::refreshed);
    createByOtherProgram(folder + QStringLiteral("/b.txt"));
    createByOtherProgram(folder + QStringLiteral("/c.txt"));
    QTest::qWait(800);
    EXPECT_EQ(refreshed.size(), 0);
    EXPECT_EQ(window->watch().PendingRefresh(), RefreshLevel::ListOnly);
    ASSERT_TRUE(window->enterMode(vmFileManager, folder));
    EXPECT_TRUE(waitUntilListed(*window, [](const QStringList& n) { return n.contains(QStringLiteral("c.txt")); }));
    QTest::qWait(500);
    EXPECT_EQ(window->watch().PendingRefresh(), RefreshLevel::None);
}

// Drops -----------------------------------------------------------------------------------

QMimeData* uriList(const QStringList& paths)
{
    auto* mime = new QMimeData;
    QByteArray bytes;
    for (const QString& path : paths)
        bytes += FileName::toUrl(path).toEncoded() + "\r\n";
    mime->setData(QStringLiteral("text/uri-list"), bytes);
    return mime;
}

// A drag that enters at position, moves there and is dropped with buttons held.
void dragAndDrop(QWidget* target, const QPoint& position, QMimeData* mime, Qt::MouseButtons buttons,
                 const QString* captionWhileHovering = nullptr, QWidget* window = nullptr)
{
    QDragEnterEvent enter(position, Qt::CopyAction | Qt::MoveAction, mime, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(position, Qt::CopyAction | Qt::MoveAction, mime, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (captionWhileHovering && window) {
        EXPECT_EQ(window->windowTitle(), *captionWhileHovering);
    }
    QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, mime, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

TEST_F(WatchAndDropTest, APlainDropOnAFolderRowMovesThere)
{
    const QString folder = makeFolder(QStringLiteral("home/list"));
    const QString into = makeFolder(QStringLiteral("home/list/into"));
    const QString source = makeFile(QStringLiteral("elsewhere/caf\u00e9.txt"), "x");
    const QString odd = FileName::decode(QByteArray(FileName::encode(home().root()) + "/elsewhere/raw\xff.bin"));
    createByOtherProgram(odd);
    auto window = showing(folder);
    showFolders(*window);
    auto* drops = window->findChild<DropTargets*>();
    ASSERT_NE(drops, nullptr);
    QSignalSpy finished(drops, &DropTargets::dropFinished);
    QAbstractItemView* view = listView(*window);
    QModelIndex row;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        if (PathText::withoutTrailingSlash(view->model()->index(r, 0).data(FileListModel::FullPathRole).toString()) == into)
            row = view->model()->index(r, 0);
    }
    ASSERT_TRUE(row.isValid()) << names(*window).join(QLatin1Char(',')).toStdString();
    const QString caption = QStringLiteral("Copy to  ") + into;
    std::unique_ptr<QMimeData> mime(uriList({source, odd}));
    dragAndDrop(view->viewport(), view->visualRect(row).center(), mime.get(), Qt::LeftButton, &caption, window.get());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(QFile::exists(into + QStringLiteral("/caf\u00e9.txt")));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(::access(QByteArray(FileName::encode(into) + "/raw\xff.bin").constData(), F_OK), 0) << "the bytes of the name kept";
    EXPECT_NE(window->windowTitle(), caption) << "the caption comes back";
}

TEST_F(WatchAndDropTest, ARightButtonDropAsksAndCopiesHere)
{
    const QString folder = makeFolder(QStringLiteral("home/list"));
    const QString source = makeFile(QStringLiteral("elsewhere/a.txt"), "x");
    auto window = showing(folder);
    auto* drops = window->findChild<DropTargets*>();
    QSignalSpy finished(drops, &DropTargets::dropFinished);
    QStringList captions;
    std::unique_ptr<QMimeData> mime(uriList({source}));
    TPathViewFol* tree = window->controls().PathViewFol1;
    const QString target = makeFolder(QStringLiteral("home/list/t"));
    window->navigator().reload(folder + QLatin1Char('/'));
    ASSERT_TRUE(waitForTree(*tree));
    tree->GoToPath(target);
    ASSERT_TRUE(waitForTree(*tree));
    QTreeWidgetItem* node = tree->nodeOfPath(target);
    ASSERT_NE(node, nullptr);
    tree->scrollToItem(node);
    // Answered once the drop is under way: loading the tree above may outlast the timer.
    QTimer::singleShot(300, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            captions << action->text();
        menu->setActiveAction(menu->findChild<QAction*>(QStringLiteral("Copyhere1")));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    dragAndDrop(tree->viewport(), tree->visualItemRect(node).center(), mime.get(), Qt::RightButton);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Copy here"), QStringLiteral("Move here"), QString(), QStringLiteral("Cancel")}));
    EXPECT_TRUE(QFile::exists(target + QStringLiteral("/a.txt")));
    EXPECT_TRUE(QFile::exists(source)) << "copied, not moved";
}

TEST_F(WatchAndDropTest, DropsOntoThemselvesChangeNothing)
{
    const QString folder = makeFolder(QStringLiteral("home/list"));
    const QString self = makeFolder(QStringLiteral("home/list/self"));
    makeFile(QStringLiteral("home/list/self/inside.txt"), "x");
    const QString file = makeFile(QStringLiteral("home/list/here.txt"), "x");
    auto window = showing(folder);
    auto* drops = window->findChild<DropTargets*>();
    QSignalSpy finished(drops, &DropTargets::dropFinished);
    TPathViewFol* tree = window->controls().PathViewFol1;
    ASSERT_TRUE(waitForTree(*tree));
    tree->expandItem(tree->nodeOfPath(folder));
    ASSERT_TRUE(waitForTree(*tree));
    QTreeWidgetItem* node = tree->nodeOfPath(self);
    ASSERT_NE(node, nullptr);

    // A folder onto its own tree node.
    std::unique_ptr<QMimeData> folderDrag(uriList({self}));
    dragAndDrop(tree->viewport(), tree->visualItemRect(node).center(), folderDrag.get(), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(5000));
    // A file onto the empty area of the list that shows its folder.
    QAbstractItemView* view = listView(*window);
    std::unique_ptr<QMimeData> fileDrag(uriList({file}));
    dragAndDrop(view->viewport(), QPoint(view->viewport()->width() - 5, view->viewport()->height() - 5), fileDrag.get(),
                Qt::LeftButton);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(QFile::exists(self + QStringLiteral("/inside.txt")));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(QDir(self).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("inside.txt")});
    EXPECT_TRUE(prompter().records().isEmpty()) << "nothing to ask or report";
}

TEST_F(WatchAndDropTest, ADropOfTheProgramsOwnDragOnTheListPlaysFvplop)
{
    // The program's folder of this test holds the sound; the fake player plays it.
    makeFile(QStringLiteral("program/sounds/fvplop.wav"), "RIFF");
    FolvaneApplication::setProgramFolder(home().root() + QStringLiteral("/program/"));
    FakeMediaPlayer::install();
    const auto restore = qScopeGuard([] {
        ProgramSound::finishPlaying(0);
        MediaPlayer::setFactory({});
        FolvaneApplication::setProgramFolder(QString());
    });
    const QString folder = makeFolder(QStringLiteral("home/list"));
    const QString into = makeFolder(QStringLiteral("home/list/into"));
    makeFile(QStringLiteral("home/list/mine.txt"), "x");
    const QString other = makeFile(QStringLiteral("elsewhere/theirs.txt"), "x");
    auto window = showing(folder);
    showFolders(*window);
    auto* drops = window->findChild<DropTargets*>();
    QSignalSpy finished(drops, &DropTargets::dropFinished);
    QAbstractItemView* view = listView(*window);
    const auto row = [&](const QString& name) {
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            if (PathText::nameOf(view->model()->index(r, 0).data(FileListModel::FullPathRole).toString()) == name)
                return view->model()->index(r, 0);
        }
        return QModelIndex();
    };
    struct Case {
        const char* what;
        std::function<QMimeData*()> drag;
        bool sounds; // fv3sounds
        bool plays;
    };
    const Case cases[] = {
        {"another program's files", [&] { return uriList({other}); }, true, false},
        {"the list's own items", [&] { return view->model()->mimeData({row(QStringLiteral("mine.txt"))}); }, true, true},
        {"a folder dragged out of the tree", [&] { return FolderDrag::dragData(into, false); }, true, true},
        {"the list's own items, sounds off", [&] { return view->model()->mimeData({row(QStringLiteral("into"))}); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->settings().fv3sounds = c.sounds;
        ASSERT_TRUE(waitForList(*window->controls().FileViewFol1));
        ASSERT_TRUE(row(QStringLiteral("into")).isValid());
        FakeMediaPlayer* before = FakeMediaPlayer::last();
        std::unique_ptr<QMimeData> mime(c.drag());
        ASSERT_NE(mime, nullptr);
        // Onto the empty area below the rows: the list's own folder.
        dragAndDrop(view->viewport(), QPoint(view->viewport()->width() - 5, view->viewport()->height() - 5), mime.get(),
                    Qt::LeftButton);
        ASSERT_TRUE(finished.wait(10000));
        FakeMediaPlayer* player = FakeMediaPlayer::last();
        if (!c.plays) {
            EXPECT_EQ(player, before);
            continue;
        }
        ASSERT_NE(player, before);
        EXPECT_TRUE(player->requests().contains(QStringLiteral("open ") + home().root() + QStringLiteral("/program/sounds/fvplop.wav")))
            << player->requests().join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(player->requests().value(player->requests().size() - 1), QStringLiteral("play"));
        player->finishPlayback();
        EXPECT_TRUE(QTest::qWaitFor([] { return FakeMediaPlayer::last() == nullptr; }, 5000)) << "the player goes with its sound";
    }
}

} // namespace
