// The movie pane (its end handled once per movie: Repeat, Show Next File, back to the file
// manager; a broken movie reported and never looped; the five display sizes; the position
// label) and the playlist panel (shown only while the playlist has entries; the messages
// of a build that adds nothing and of Save Playlist), on the fake media player.
#include "MediaWindowFixture.h"
#include "fileops/BrowseWindowFixture.h"

#include "media/ui/AudioPlayerController.h"
#include "media/ui/MoviePlayerPane.h"
#include "media/ui/TFolTrackBar.h"
#include "media/ui/TPanelAudio.h"
#include "platform/ui/PropertiesDialog.h"
#include "viewers/ui/ImageViewerPane.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class MediaPanesTest : public MediaWindowFixture {
protected:
    void SetUp() override
    {
        MediaWindowFixture::SetUp();
        display = new QWidget(window.get());
        display->resize(800, 600);
        trackBar = new TFolTrackBar(window.get());
        scale = new QSlider(Qt::Horizontal, window.get());
        scale->setRange(0, 4);
        scale->setValue(4);
        loop = new QToolButton(window.get());
        loop->setCheckable(true);
    }
    std::unique_ptr<MoviePlayerPane> moviePane()
    {
        return std::make_unique<MoviePlayerPane>(*context, display, trackBar, scale, loop, [this] { return showNextFile; });
    }
    int plays(FakeMediaPlayer* player) const { return int(player->requests().count(QStringLiteral("play"))); }

    QWidget* display = nullptr;
    TFolTrackBar* trackBar = nullptr;
    QSlider* scale = nullptr;
    QToolButton* loop = nullptr;
    bool showNextFile = false;
};

} // namespace

TEST_F(MediaPanesTest, AMoviesEndIsHandledOnceByRepeatNextFileOrClosing)
{
    struct Case {
        const char* name;
        bool repeat, showNext;
        int plays;            // plays after the end was seen by the notice and the timer
        int nextRequests;
        QList<TViewMode> switches;
    } cases[] = {
        {"Repeat plays it again from the start", true, true, 2, 0, {}},
        {"Show Next File moves on once", false, true, 1, 1, {}},
        {"else the file manager comes back", false, false, 1, 0, {vmFileManager}},
    };
    const QString movie = makeFile(QStringLiteral("films/clip.mkv"), "x");
    for (const Case& c : cases) {
        context->switches.clear();
        loop->setChecked(c.repeat);
        showNextFile = c.showNext;
        auto pane = moviePane();
        QSignalSpy next(pane.get(), &MoviePlayerPane::nextFileRequested);
        pane->enter(movie);
        FakeMediaPlayer* player = FakeMediaPlayer::last();
        player->finishPlayback();
        QTest::qWait(20);
        pane->TimerMovieTimer(); // the timer sees the movie at its end too
        QTest::qWait(20);
        EXPECT_EQ(plays(player), c.plays) << c.name;
        EXPECT_EQ(next.count(), c.nextRequests) << c.name;
        EXPECT_EQ(context->switches, c.switches) << c.name;
        if (c.repeat)
            EXPECT_TRUE(player->requests().contains(QStringLiteral("seek 0"))) << c.name;
        pane->leave();
    }
}

TEST_F(MediaPanesTest, ABrokenMovieIsReportedOnceEvenWithRepeatOn)
{
    loop->setChecked(true);
    showNextFile = true;
    const QString movie = makeFile(QStringLiteral("films/broken.avi"), "junk");
    struct Case {
        const char* name;
        bool failsToOpen;
    } cases[] = {{"it cannot be opened", true}, {"it fails while playing", false}};
    for (const Case& c : cases) {
        context->switches.clear();
        prompter().clear();
        auto pane = moviePane();
        QSignalSpy next(pane.get(), &MoviePlayerPane::nextFileRequested);
        FakeMediaPlayer* player = nullptr;
        if (c.failsToOpen) {
            MediaPlayer::setFactory([] {
                auto made = std::make_unique<FakeMediaPlayer>();
                made->failOpen(QStringLiteral("no decoder"));
                return made;
            });
            pane->enter(movie);
        } else {
            FakeMediaPlayer::install();
            pane->enter(movie);
            player = FakeMediaPlayer::last();
            player->failPlayback(QStringLiteral("no decoder"));
        }
        QTest::qWait(300);
        ASSERT_EQ(prompter().texts().size(), 1) << c.name;
        EXPECT_EQ(prompter().texts().first(), QStringLiteral("Can not open movie to view \r\n") + movie + QStringLiteral("\r\n\r\nno decoder")) << c.name;
        EXPECT_EQ(context->switches, QList<TViewMode>{vmFileManager}) << c.name;
        EXPECT_EQ(next.count(), 0) << c.name;
        if (player)
            EXPECT_EQ(plays(player), 1) << c.name << ": never looped";
        pane->leave();
    }
}

TEST_F(MediaPanesTest, TheFiveDisplaySizesAndThePositionLabel)
{
    const QSize pane(800, 600);
    struct Case {
        int position;
        QRect rect;
        const char* label;
    } cases[] = {
        {0, {0, 0, 160, 120}, "160x120"}, {1, {0, 0, 240, 180}, "240x180"}, {2, {0, 0, 320, 240}, "320x240"},
        {3, {0, 0, 640, 480}, "640x480"}, {4, {0, 0, 800, 600}, "Full"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoviePlayerPane::videoRect(c.position, pane), c.rect) << c.label;
        EXPECT_EQ(MoviePlayerPane::scaleLabel(c.position), QLatin1String(c.label));
    }
    auto movie = moviePane();
    movie->enter(makeFile(QStringLiteral("films/a.mp4"), "x"));
    FakeMediaPlayer* player = FakeMediaPlayer::last();
    EXPECT_EQ(player->display(), display);
    EXPECT_EQ(player->displayRect(), QRect(0, 0, 800, 600));
    scale->setValue(1);
    EXPECT_EQ(player->displayRect(), QRect(0, 0, 240, 180));
    EXPECT_EQ(scale->toolTip(), QStringLiteral("240x180"));
    player->setLength(185000);
    movie->TimerMovieTimer();
    EXPECT_EQ(trackBar->LabelText(), QStringLiteral("3:05  -  0:00"));
    EXPECT_EQ(trackBar->maximum(), 185000);
    EXPECT_EQ(context->statusPanel(3)->text(), QStringLiteral("MOVIE VIEWER"));
    movie->leave();
    EXPECT_TRUE(trackBar->LabelText().isEmpty());
}

// The movie's context menu has the picture viewer's items but Copy, each running the
// window's command on the movie file (Delete and Move to from the file manager). A right
// click on the video or on the display around it opens it while the movie is shown, and
// the picture viewer's own menu while a picture is.
TEST_F(MediaPanesTest, TheMoviesContextMenuActsOnTheMovieFile)
{
    auto* image = new ImageViewerPane(*context, new QComboBox(window.get()), window.get());
    image->resize(800, 600);
    auto pane = std::make_unique<MoviePlayerPane>(*context, image, trackBar, scale, loop, [] { return false; });
    const QString movie = makeFile(QStringLiteral("films/clip.avi"), "x");
    pane->enter(movie);
    QMenu* popup = pane->PopupMenuMovie();
    QStringList captions;
    for (QAction* item : popup->actions())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{"Delete", "Move to...", "Copy to...", "Email", "Close", "Properties"}));

    const struct {
        const char* caption;
        const char* action; // the window's command it runs, none for Close
        bool fromFileManager;
    } items[] = {
        {"Delete", "MenuDelete", true}, {"Move to...", "MenuMoveTo", true}, {"Copy to...", "MenuCopyTo", false},
        {"Email", "MenuMail", false},   {"Close", nullptr, true},           {"Properties", "MenuProperties", false},
    };
    QStringList ran; // the window's commands run, in order
    for (const char* name : {"MenuDelete", "MenuMoveTo", "MenuCopyTo", "MenuMail", "MenuProperties"}) {
        auto* command = new QAction(window.get());
        command->setObjectName(QLatin1String(name));
        QObject::connect(command, &QAction::triggered, [&ran, name] { ran << QLatin1String(name); });
    }
    for (const auto& item : items) {
        SCOPED_TRACE(item.caption);
        context->switches.clear();
        context->switchPaths.clear();
        ran.clear();
        popup->actions().at(captions.indexOf(QLatin1String(item.caption)))->trigger();
        EXPECT_EQ(ran, item.action ? QStringList{QLatin1String(item.action)} : QStringList{});
        EXPECT_EQ(context->switches, item.fromFileManager ? QList<TViewMode>{vmFileManager} : QList<TViewMode>{});
        if (item.fromFileManager) {
            EXPECT_EQ(context->switchPaths, QStringList{movie});
        }
    }

    auto* video = new QWidget(image); // the player's video widget lives in the display
    video->setGeometry(0, 0, 160, 120);
    QMenu* pictureMenu = image->PopupMenuMovieImages();
    const auto rightClick = [](QWidget* target) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &event);
    };
    for (QWidget* target : {video, image->viewport()}) {
        rightClick(target);
        EXPECT_TRUE(popup->isVisible()) << target->metaObject()->className();
        EXPECT_FALSE(pictureMenu->isVisible());
        popup->hide();
    }
    pane->leave();
    image->enter(QString());
    rightClick(image->viewport());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(pictureMenu->isVisible());
    pictureMenu->hide();
}

// The picture and movie menus over the real folder tree, file list and transfer commands.
class ShownFileMenuTest : public BrowseWindowFixture {
protected:
    void SetUp() override
    {
        FakeMediaPlayer::install();
        BrowseWindowFixture::SetUp();
    }
    void TearDown() override
    {
        BrowseWindowFixture::TearDown();
        MediaPlayer::setFactory({});
    }
};

// A folder clicked in the tree, then a picture or movie opened some other way than from the
// list: the tree had the focus last, yet the menu's items act on the file shown, never on
// the tree's folder.
TEST_F(ShownFileMenuTest, TheItemsActOnTheShownFileWhenTheTreeHadTheFocus)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/Shown"));
    const QString target = makeFolder(QStringLiteral("drives/data/Target"));
    go(folder);
    auto* image = new ImageViewerPane(*m_context, new QComboBox(m_window.get()), m_window.get());
    auto movie = std::make_unique<MoviePlayerPane>(*m_context, image, new TFolTrackBar(m_window.get()),
                                                   new QSlider(Qt::Horizontal, m_window.get()), new QToolButton(m_window.get()),
                                                   [] { return false; });
    const struct {
        const char* menu;
        const char* extension;
    } menus[] = {{"picture", ".bmp"}, {"movie", ".avi"}};
    const struct {
        const char* caption;
        bool pickFolder;
        bool keepsFile;
        bool copied; // the file is found in the picked folder afterwards
    } items[] = {
        {"Properties", false, true, false},
        {"Copy to...", true, true, true},
        {"Move to...", true, false, true},
        {"Delete", false, false, false},
    };
    for (const auto& menu : menus) {
        for (const auto& item : items) {
            const QString name = QLatin1String(menu.menu) + QString::number(&item - items) + QLatin1String(menu.extension);
            SCOPED_TRACE(name.toStdString() + " " + item.caption);
            const QString shown = folder + QLatin1Char('/') + name;
            if (QLatin1String(menu.menu) == QLatin1String("picture")) {
                ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(shown));
                QSignalSpy loaded(image, &ImageViewerPane::pictureShown);
                image->enter(shown);
                ASSERT_TRUE(loaded.wait(10000));
            } else {
                makeFile(QStringLiteral("drives/data/Shown/") + name, "x");
                movie->enter(shown);
            }
            m_tree->setFocus();
            ASSERT_TRUE(m_menus->panes().treeIsActive());
            if (item.pickFolder)
                pickers().answer(target + QLatin1Char('/'));
            else if (!item.keepsFile)
                prompter().answer(PromptButton::Yes); // Move ... to the Trash?
            QMenu* popup = QLatin1String(menu.menu) == QLatin1String("picture") ? image->PopupMenuMovieImages() : movie->PopupMenuMovie();
            for (QAction* action : popup->actions()) {
                if (action->text() == QLatin1String(item.caption))
                    action->trigger();
            }
            if (QLatin1String(menu.menu) == QLatin1String("picture"))
                image->leave();
            else
                movie->leave();

            EXPECT_TRUE(QFileInfo(folder).isDir()) << "the tree's folder is left alone";
            EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/Shown")));
            EXPECT_EQ(QFileInfo::exists(shown), item.keepsFile);
            EXPECT_EQ(QFileInfo::exists(target + QLatin1Char('/') + name), item.copied);
            if (item.pickFolder) {
                EXPECT_EQ(pickers().captions().last(), QLatin1String(item.keepsFile ? "Copy 1 selected to... " : "Move 1 selected to..."));
            }
            if (QLatin1String(item.caption) == QLatin1String("Properties")) {
                PropertiesDialog* dialog = m_window->findChild<PropertiesDialog*>();
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->windowTitle(), name + QStringLiteral(" Properties"));
                delete dialog;
            }
        }
    }
}

TEST_F(MediaPanesTest, ThePlaylistPanelShowsOnlyWhileThePlaylistHasEntries)
{
    QAction* continuous = checkableAction();
    QAction* shuffle = checkableAction();
    auto* holder = new QWidget(window.get());
    window->setCentralWidget(holder);
    window->show();
    AudioPlayerController audio(*context, holder, continuous, shuffle);
    QStringList items;
    audio.setFileList([&] { return items; }, [&] { return items; });
    const auto build = [&](AudioPlayerController::Mode mode) {
        QSignalSpy built(&audio, &AudioPlayerController::built);
        audio.BuildPlaylist(mode);
        ASSERT_TRUE(built.wait(10000));
    };
    EXPECT_FALSE(holder->isVisible()) << "hidden at start";

    items = {makeFile(QStringLiteral("m/a.mid"), "MThd"), makeFile(QStringLiteral("m/b.mid"), "MThd"), makeFile(QStringLiteral("m/x.txt"), "x")};
    build(AudioPlayerController::Mode::FromList);
    EXPECT_TRUE(holder->isVisible());
    EXPECT_EQ(audio.panel()->ListViewAudio->topLevelItemCount(), 2);
    EXPECT_EQ(audio.panel()->LabelAudioFileCount->text(), QStringLiteral("   2"));
    EXPECT_TRUE(audio.panel()->ButtonPLaylistNext->isEnabled());

    // The files are gone: a re-check leaves an empty playlist, and the panel goes.
    for (const QString& item : items)
        QFile::remove(item);
    build(AudioPlayerController::Mode::Recheck);
    EXPECT_FALSE(holder->isVisible());
    EXPECT_TRUE(prompter().texts().isEmpty()) << "a re-check says nothing";

    build(AudioPlayerController::Mode::FromList);
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("No files added to playlist")});

    items = {makeFile(QStringLiteral("m/c.mid"), "MThd")};
    build(AudioPlayerController::Mode::AddSelection);
    EXPECT_TRUE(holder->isVisible());
    EXPECT_FALSE(audio.panel()->ButtonPLaylistNext->isEnabled()) << "one entry: no Next";
    // Save Playlist: cancelled writes nothing; a folder that cannot be made says so.
    pickers().answer(QString());
    audio.MenuSaveClickPlaylist();
    EXPECT_EQ(prompter().texts().size(), 1) << "cancelled: nothing written, nothing said";
    const QString good = home().root() + QStringLiteral("/saved.M3U");
    pickers().answer(good);
    audio.MenuSaveClickPlaylist();
    QFile saved(good);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("#EXTM3U\r\n#EXTINF:, - c\r\n"));
    makeFile(QStringLiteral("blocker"), "x");
    const QString bad = home().root() + QStringLiteral("/blocker/list.m3u");
    pickers().answer(bad);
    audio.MenuSaveClickPlaylist();
    EXPECT_EQ(prompter().texts().last(), QStringLiteral("Error creating ") + bad);
    audio.MenuClearPlaylistClick();
    EXPECT_FALSE(holder->isVisible());
}
