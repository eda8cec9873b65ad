// View on an audio file in the real window: the folder's audio files become the playlist,
// its panel shows under the folder tree with the viewed song selected and playing, and the
// file manager stays in front (on the fake media player).
#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TFileViewFol.h"
#include "media/ui/AudioPlayerController.h"
#include "media/ui/TPanelAudio.h"
#include "support/FakeMediaPlayer.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/media/AudioBytes.h"

#include <QAction>
#include <QTreeWidget>

namespace {

class PlaylistViewTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        FakeMediaPlayer::install();
    }
    void TearDown() override
    {
        MediaPlayer::setFactory({});
        MainWindowFixture::TearDown();
    }
};

TEST_F(PlaylistViewTest, ViewOnAnMp3ShowsThePlaylistPanelAndPlaysTheSong)
{
    const QString folder = makeFolder(QStringLiteral("music"));
    const QByteArray mp3 = audiobytes::cbrFrames(20);
    makeFile(QStringLiteral("music/a.mp3"), mp3);
    const QString song = makeFile(QStringLiteral("music/b.mp3"), mp3);
    makeFile(QStringLiteral("music/notes.txt"), "x");
    store([&](AppSettings& s) { s.currentItemSel = folder; s.singleDrive = false; });
    auto window = shown();
    const MainWindowControls& c = window->controls();
    auto* audio = window->findChild<AudioPlayerController*>();
    ASSERT_NE(audio, nullptr);
    EXPECT_TRUE(c.PanelAudio->isHidden()) << "no playlist yet";

    ASSERT_TRUE(c.FileViewFol1->SelectFileInList(song));
    QSignalSpy built(audio, &AudioPlayerController::built);
    c.MenuViewFile->trigger();
    ASSERT_TRUE(built.wait(10000));

    EXPECT_EQ(window->CurrentMode(), vmFileManager) << "the song plays beside the list";
    EXPECT_TRUE(c.PanelAudio->isVisible());
    QTreeWidget* rows = audio->panel()->ListViewAudio;
    ASSERT_EQ(rows->topLevelItemCount(), 2) << "the folder's two songs, not its text file";
    EXPECT_EQ(rows->topLevelItem(0)->text(0), QStringLiteral("a"));
    EXPECT_EQ(rows->currentItem(), rows->topLevelItem(1));
    ASSERT_NE(FakeMediaPlayer::last(), nullptr);
    EXPECT_EQ(FakeMediaPlayer::last()->fileName(), song);
    EXPECT_EQ(FakeMediaPlayer::last()->mode(), MediaMode::Playing);
}

} // namespace
