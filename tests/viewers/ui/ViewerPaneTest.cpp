// The text/hex viewer pane: opening, the status line, Backspace between text and hex (kept
// in the stored values), the popup's captions, Enter stepping through the list (onto
// regular files only), select all and copy, and a file far larger than what is read.
#include "ViewerPaneFixture.h"

#include "viewers/ui/FileViewerControl.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

class ViewerPaneTest : public ViewerPaneFixture {};

TEST_F(ViewerPaneTest, OpensShowsStatusAndSwitchesToHex)
{
    const QString path = makeFile(QStringLiteral("v.txt"), "first\nsecond line\n");
    viewer->enter(path);
    FileViewerControl* control = viewer->viewer();
    ASSERT_TRUE(control->IsOpen());
    EXPECT_EQ(context->statusPanel(2)->text(), QStringLiteral("VIEWER"));
    EXPECT_TRUE(context->statusPanel(0)->text().endsWith(QStringLiteral("v.txt")));
    QTest::keyClick(control, Qt::Key_Down);
    QTest::keyClick(control, Qt::Key_Right);
    ASSERT_TRUE(QTest::qWaitFor([&] { return control->caretLine().has_value(); }));
    viewer->viewer()->setCaret(control->caretOffset()); // the status follows the index
    EXPECT_EQ(context->statusPanel(1)->text(), QStringLiteral(" Line: 2 Column: 2"));

    QTest::keyClick(control, Qt::Key_Backspace);
    EXPECT_TRUE(control->InHexMode());
    EXPECT_TRUE(settings.hex);
    EXPECT_TRUE(context->button(BandButton::Hex)->isChecked());
    EXPECT_EQ(context->statusPanel(1)->text(), QStringLiteral(" Line: 1 Column: 8"));
    QMenu* popup = viewer->PopupMenuFileViewer();
    Q_EMIT popup->aboutToShow();
    EXPECT_EQ(popup->findChild<QAction*>(QStringLiteral("PopupFileViewerHex"))->text(), QStringLiteral("Text Mode View"));
    QTest::keyClick(control, Qt::Key_Backspace);
    EXPECT_FALSE(settings.hex);
    Q_EMIT popup->aboutToShow();
    EXPECT_EQ(popup->findChild<QAction*>(QStringLiteral("PopupFileViewerHex"))->text(), QStringLiteral("HEX Mode View"));
}

// "Send copy to ..." and Delete act on the viewed file, whatever the folder tree and the file
// list hold (the fixture's window has neither, so the list's selection cannot stand in).
TEST_F(ViewerPaneTest, SendCopyAndDeleteActOnTheViewedFile)
{
    const QString target = makeFolder(QStringLiteral("target"));
    const QString path = makeFile(QStringLiteral("shown/v.txt"), "viewed\n");
    viewer->enter(path);
    context->setMode(vmFileViewer);
    ASSERT_TRUE(viewer->viewer()->IsOpen());

    pickers().answer(target + QLatin1Char('/'));
    viewer->PopupMenuFileViewer()->findChild<QAction*>(QStringLiteral("PopupFileViewerSendCopy"))->trigger();
    EXPECT_EQ(readFile(target + QStringLiteral("/v.txt")), QByteArray("viewed\n"));
    EXPECT_TRUE(QFileInfo::exists(path));

    prompter().answer(PromptButton::Yes); // Move "v.txt" to the Trash?
    viewer->PopupMenuFileViewer()->findChild<QAction*>(QStringLiteral("PopupFileViewerDelete"))->trigger();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(context->switches.last(), std::make_pair(vmFileManager, path));
}

TEST_F(ViewerPaneTest, SelectAllCopyAndTheirCaptions)
{
    context->setMode(vmFileViewer);
    viewer->enter(makeFile(QStringLiteral("c.txt"), "copy me"));
    QMenu* popup = viewer->PopupMenuFileViewer();
    Q_EMIT popup->aboutToShow();
    EXPECT_FALSE(popup->findChild<QAction*>(QStringLiteral("PopupFileViewerCopy"))->isEnabled());
    window.findChild<QAction*>(QStringLiteral("MenuSelectAll"))->trigger();
    Q_EMIT popup->aboutToShow();
    EXPECT_EQ(popup->findChild<QAction*>(QStringLiteral("PopupFileViewerSelectAll"))->text(), QStringLiteral("Un-Select All"));
    commands->MenuEditClick();
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("MenuCopy"))->isEnabled());
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("MenuPaste"))->isEnabled());
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("MenuFont"))->isVisible());
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("MenuUnDo"))->isVisible());
    window.findChild<QAction*>(QStringLiteral("MenuCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("copy me"));
    window.findChild<QAction*>(QStringLiteral("MenuSelectAll"))->trigger();
    EXPECT_FALSE(viewer->viewer()->hasSelection());
}

TEST_F(ViewerPaneTest, EnterStepsThroughTheListFromLastToFirst)
{
    const QString a = makeFile(QStringLiteral("list/a.txt"), "a");
    makeFile(QStringLiteral("list/b.txt"), "b");
    panes.showFolder(home().root() + QStringLiteral("/list"));
    panes.select({QStringLiteral("b.txt")});
    context->switched = [this](TViewMode mode, const QString& path) {
        if (mode == vmFileViewer) {
            viewer->leave();
            viewer->enter(path);
        }
    };
    viewer->enter(home().root() + QStringLiteral("/list/b.txt"));
    QTest::keyClick(viewer->viewer(), Qt::Key_Return);
    ASSERT_FALSE(context->switches.isEmpty());
    EXPECT_EQ(context->switches.last().second, a);
    EXPECT_EQ(viewer->viewer()->FileName(), a);
}

TEST_F(ViewerPaneTest, EnterOntoAFifoGivesTheOpenErrorAndNeverHangs)
{
    const QString folder = makeFolder(QStringLiteral("f"));
    makeFile(QStringLiteral("f/a.txt"), "a");
    ASSERT_EQ(::mkfifo((folder + QStringLiteral("/b.pipe")).toLocal8Bit().constData(), 0600), 0);
    // The rows as the real list shows them: a file, the FIFO, a folder.
    panes.rows = {{folder + QStringLiteral("/a.txt"), QStringLiteral("a.txt"), {}, QStringLiteral("file"), true},
                  {folder + QStringLiteral("/b.pipe"), QStringLiteral("b.pipe"), {}, QStringLiteral("file")},
                  {home().root(), QStringLiteral("sub"), {}, QStringLiteral("dir")}};
    context->switched = [this](TViewMode, const QString& path) { viewer->enter(path); };
    prompter().answer(PromptButton::Ok);
    viewer->stepFile(1);
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_TRUE(prompter().last().text.contains(QStringLiteral("not a regular file")));
    EXPECT_FALSE(viewer->viewer()->IsOpen());
    panes.select({QStringLiteral("b.pipe")});
    prompter().answer(PromptButton::Ok);
    viewer->stepFile(1); // onto the folder
    ASSERT_EQ(prompter().records().size(), 2);
    EXPECT_FALSE(viewer->viewer()->IsOpen());
}

TEST_F(ViewerPaneTest, ABigSparseFileShowsItsEndAtOnce)
{
    // 6 GiB of holes with a line at the end: only the windows shown are read.
    const QString path = home().root() + QStringLiteral("/sparse.bin");
    const int fd = ::open(path.toLocal8Bit().constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    const off_t end = off_t(6) << 30;
    ASSERT_EQ(::pwrite(fd, "the end\n", 8, end), 8);
    ::close(fd);
    settings.hex = true;
    viewer->enter(path);
    FileViewerControl* control = viewer->viewer();
    QTest::keyClick(control, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(control->caretOffset(), end + 8);
    EXPECT_EQ(context->statusPanel(1)->text(), QStringLiteral(" Line: %1 Column: 9").arg((end + 8) / 16 + 1));
}

} // namespace
