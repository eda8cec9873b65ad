// The mode machine in the real window: View, Edit, the spinner and the Run dialog choose
// their pane, program or dialog; a pane with unsaved work can refuse to be left (and the
// program to close); the idle handler keeps titles, hints and the status bar in line.
#include "app/MainWindowControls.h"
#include "app/MainWindowIdle.h"
#include "app/MainWindowModes.h"
#include "app/TFormMainFolvane3.h"
#include "app/ViewCommands.h"
#include "browse/TFileViewFol.h"
#include "platform/ui/BasicViewPane.h"
#include "support/FakeFileOperations.h"
#include "support/FakeLauncher.h"
#include "tests/app/MainWindowFixture.h"
#include "viewers/text/EditorRecovery.h"
#include "viewers/ui/TRunDlg.h"
#include "viewers/ui/TextEditorControl.h"
#include "viewers/ui/TextEditorPane.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>

namespace {

// An editor pane that holds unsaved text: it answers the leave question as scripted.
class UnsavedPane : public BasicViewPane {
public:
    UnsavedPane()
        : BasicViewPane({vmTextEditor, "TextEditor", bandTextEditor, {}, nullptr})
    {
    }
    bool mayLeave() override
    {
        ++asked;
        return allowLeave;
    }
    void preserveUnsaved() override { ++preserved; }

    bool allowLeave = false;
    int asked = 0;
    int preserved = 0;
};

class ViewModesTest : public MainWindowFixture {
protected:
    std::unique_ptr<TFormMainFolvane3> shownIn(const QString& folder)
    {
        store([&](AppSettings& s) { s.currentItemSel = folder; s.singleDrive = false; });
        auto window = shown();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
    void select(TFormMainFolvane3& window, const QString& path)
    {
        ASSERT_TRUE(window.controls().FileViewFol1->SelectFileInList(path)) << qPrintable(path);
        window.idle().UpdateControlStates();
    }
};

TEST_F(ViewModesTest, ViewOpensTheEditorAndViewAgainReturnsWithTheFileSelected)
{
    const QString folder = makeFolder(QStringLiteral("docs"));
    const QString note = makeFile(QStringLiteral("docs/note.txt"), "hello");
    makeFile(QStringLiteral("docs/other.txt"), "x");
    auto window = shownIn(folder);
    const MainWindowControls& c = window->controls();
    select(*window, note);
    c.MenuViewFile->trigger();
    EXPECT_EQ(window->CurrentMode(), vmTextEditor);
    EXPECT_EQ(window->CurrentFile(), note);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Folvane Text Editor"))) << qPrintable(window->windowTitle());
    EXPECT_EQ(c.ButtonViewFile->toolTip(), QStringLiteral("Close Editor"));

    c.MenuViewFile->trigger();
    EXPECT_EQ(window->CurrentMode(), vmFileManager);
    EXPECT_EQ(c.FileViewFol1->selectedPaths(), QStringList{note});
    window->idle().UpdateControlStates();
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Folvane File Manager"))) << qPrintable(window->windowTitle());
    EXPECT_EQ(c.ButtonViewFile->toolTip(), QStringLiteral("Open ") + note);
}

TEST_F(ViewModesTest, TheEditorsBandFollowsItsSelectionAndItsChanges)
{
    const QString folder = makeFolder(QStringLiteral("docs"));
    const QString note = makeFile(QStringLiteral("docs/note.txt"), "hello\n");
    auto window = shownIn(folder);
    const MainWindowControls& c = window->controls();
    select(*window, note);
    c.MenuViewFile->trigger();
    ASSERT_EQ(window->CurrentMode(), vmTextEditor);
    auto* pane = dynamic_cast<TextEditorPane*>(window->pane(vmTextEditor));
    ASSERT_NE(pane, nullptr);
    auto enabled = [&](BandButton b) {
        window->idle().UpdateControlStates();
        return c.buttons[size_t(b)]->isEnabled();
    };
    EXPECT_FALSE(enabled(BandButton::EditorCut));
    EXPECT_FALSE(enabled(BandButton::Save));
    EXPECT_FALSE(enabled(BandButton::UnDo));
    EXPECT_TRUE(enabled(BandButton::TextEditorPrint));

    pane->editor()->selectAll();
    EXPECT_TRUE(enabled(BandButton::EditorCut));
    EXPECT_TRUE(enabled(BandButton::EditorCopy));
    pane->editor()->insertPlainText(QStringLiteral("typed"));
    EXPECT_FALSE(enabled(BandButton::EditorCut));
    EXPECT_TRUE(enabled(BandButton::Save));
    EXPECT_TRUE(enabled(BandButton::UnDo));
    c.buttons[size_t(BandButton::UnDo)]->click();
    EXPECT_EQ(pane->editor()->toPlainText(), QStringLiteral("hello\n"));
}

TEST_F(ViewModesTest, TheStartTellsOnceWhereTextKeptAtTheLastEndIs)
{
    const QString folder = makeFolder(QStringLiteral("docs"));
    ASSERT_FALSE(EditorRecovery::write(QStringLiteral("/x/plan.txt"), "kept\n").isEmpty());
    auto window = shownIn(folder);
    ASSERT_FALSE(prompter().texts().isEmpty());
    EXPECT_TRUE(prompter().last().text.startsWith(QStringLiteral("Text that was not saved when the program last ended was kept in:\r\n")));
    EXPECT_TRUE(prompter().last().text.contains(QStringLiteral("/plan.txt."))) << qPrintable(prompter().last().text);
    window.reset();
    const int told = prompter().texts().size();
    shownIn(folder);
    EXPECT_EQ(prompter().texts().size(), told);
}

TEST_F(ViewModesTest, TheFileManagerGoesToTheFilesFolderOrStaysForAPathThatIsGone)
{
    const QString first = makeFolder(QStringLiteral("one"));
    makeFile(QStringLiteral("one/a.txt"), "a");
    makeFolder(QStringLiteral("two"));
    const QString far = makeFile(QStringLiteral("two/far.txt"), "far");
    auto window = shownIn(first);
    TFileViewFol* list = window->controls().FileViewFol1;
    window->enterMode(vmFileViewer, far);
    ASSERT_TRUE(window->enterMode(vmFileManager, far));
    ASSERT_TRUE(waitForList(*list));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->selectedPaths() == QStringList{far}; }, 5000)) << qPrintable(list->selectedPaths().join(' '));
    EXPECT_EQ(list->Directory(), home().root() + QStringLiteral("/two/"));
    EXPECT_EQ(window->CurrentPath(), home().root() + QStringLiteral("/two/"));

    ASSERT_TRUE(window->enterMode(vmFileManager, home().root() + QStringLiteral("/gone/x.txt")));
    ASSERT_TRUE(waitForList(*list));
    EXPECT_EQ(list->Directory(), home().root() + QStringLiteral("/two/")) << "the current folder stays";
}

// Leaving a pane with unsaved work: Cancel keeps the pane, the mode and the program; where
// nothing can be asked the pane keeps its work safe.
TEST_F(ViewModesTest, APaneWithUnsavedWorkCanRefuseToBeLeftAndTheProgramToClose)
{
    const QString folder = makeFolder(QStringLiteral("edit"));
    auto window = shownIn(folder);
    auto* pane = new UnsavedPane;
    window->registerPane(pane);
    ASSERT_TRUE(window->enterMode(vmTextEditor));
    EXPECT_FALSE(window->enterMode(vmFileManager));
    EXPECT_EQ(window->CurrentMode(), vmTextEditor);
    EXPECT_EQ(window->controls().rightPane->currentWidget(), pane);
    EXPECT_TRUE(window->controls().SpinViewer->isEnabled()) << "the spinner is given back";

    window->close();
    EXPECT_TRUE(window->isVisible()) << "Cancel keeps the program open";
    EXPECT_EQ(pane->asked, 2);

    window->endWithoutAsking();
    EXPECT_EQ(pane->preserved, 1);
    pane->allowLeave = true;
    EXPECT_TRUE(window->enterMode(vmFileManager));
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ViewModesTest, TheSpinnerStepsThroughTheListInAPaneWrappingAtBothEnds)
{
    const QString folder = makeFolder(QStringLiteral("pics"));
    // A one-pixel GIF, so the viewer shows each without an error box.
    const QByteArray gif("GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 35);
    for (const char* name : {"a.gif", "b.gif", "c.gif"})
        makeFile(QStringLiteral("pics/") + QLatin1String(name), gif);
    auto window = shownIn(folder);
    const MainWindowControls& c = window->controls();
    // The rows in the list's own order.
    QStringList rows;
    for (int r = 0; r < 3; ++r)
        rows << c.FileViewFol1->model().index(r, 0).data(FileListModel::FullPathRole).toString();
    auto name = [&rows](int r) { return rows[r].section(QLatin1Char('/'), -1); };
    select(*window, rows[2]);
    c.MenuViewFile->trigger();
    ASSERT_EQ(window->CurrentMode(), vmImageViewer);
    EXPECT_EQ(c.statusPanels[2]->text(), QStringLiteral("IMAGE VIEWER"));
    EXPECT_TRUE(c.statusPanels[3]->text().isEmpty());
    EXPECT_EQ(c.SpinViewer->toolTip(), QStringLiteral("< ") + name(1) + QStringLiteral("\n> ") + name(0));

    c.SpinViewerNext->click();
    EXPECT_EQ(window->CurrentFile(), rows[0]) << "past the last comes the first";
    EXPECT_EQ(c.FileViewFol1->selectedPaths(), QStringList{rows[0]});
    EXPECT_EQ(c.SpinViewer->toolTip(), QStringLiteral("< ") + name(2) + QStringLiteral("\n> ") + name(1));
    c.SpinViewerPrevious->click();
    EXPECT_EQ(window->CurrentFile(), rows[2]) << "before the first comes the last";
    QTest::keyRelease(static_cast<QWidget*>(c.rightPane), Qt::Key_Left);
    EXPECT_EQ(window->CurrentFile(), rows[1]) << "the Left key in the image viewer";
    EXPECT_EQ(window->CurrentMode(), vmImageViewer);
}

TEST_F(ViewModesTest, EditRefusesMissingSelectionsUnreadableFilesAndAsksAboutBinaryOnes)
{
    const QString folder = makeFolder(QStringLiteral("bin"));
    const QString binary = makeFile(QStringLiteral("bin/data.dat"), QByteArray("\0\1\2", 3));
    const QString fifo = folder + QStringLiteral("/pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto window = shownIn(folder);
    ViewCommands& commands = window->viewCommands();
    window->controls().FileViewFol1->currentView()->clearSelection();
    prompter().answer(PromptButton::Ok);
    commands.ButtonTextEditorClick();
    EXPECT_EQ(prompter().last().text, QStringLiteral("No file selected!\r\nSelect the file you what to view."));

    select(*window, binary);
    prompter().answer(PromptButton::No);
    commands.ButtonTextEditorClick();
    EXPECT_EQ(prompter().last().text, QStringLiteral("data.dat\r\nNot a text file, open to edit?"));
    EXPECT_EQ(window->CurrentMode(), vmFileManager) << "No keeps the file manager";

    select(*window, fifo);
    prompter().answer(PromptButton::Ok);
    window->controls().MenuViewFile->trigger();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Can not access file\r\n") + fifo
                                          + QStringLiteral("\r\n\r\nThe file is being used by another\r\napplication or is damaged."));
    EXPECT_EQ(prompter().last().kind, PromptKind::Error);
}

// A Windows program goes to the Run dialog; OK starts it through wine with the parameters
// as words, and the parameters are remembered for the next time.
TEST_F(ViewModesTest, TheRunDialogStartsAProgramWithItsParameters)
{
    const QString folder = makeFolder(QStringLiteral("progs"));
    const QString setup = makeFile(QStringLiteral("progs/x;touch y.EXE"), "MZ");
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("wine"));
    auto window = shownIn(folder);
    select(*window, setup);
    QString caption;
    QTimer::singleShot(0, [&caption] {
        auto* dialog = qobject_cast<TRunDlg*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        caption = dialog->windowTitle();
        dialog->ComboBoxRunParameters->setEditText(QStringLiteral("/quiet \"$(id)\""));
        dialog->OKBtn->click();
    });
    window->controls().MenuViewFile->trigger();
    EXPECT_EQ(caption, QStringLiteral("Run x;touch y.EXE"));
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().program, QStringLiteral("/usr/bin/wine"));
    EXPECT_EQ(launcher.launches().first().arguments, (QStringList{setup, QStringLiteral("/quiet"), QStringLiteral("$(id)")}));
    EXPECT_EQ(window->CurrentMode(), vmFileManager);

    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        auto* dialog = qobject_cast<TRunDlg*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        offered = dialog->history();
        dialog->CancelBtn->click();
    });
    window->controls().MenuViewFile->trigger();
    EXPECT_EQ(offered, QStringList{QStringLiteral("/quiet \"$(id)\"")});
    EXPECT_EQ(launcher.launches().size(), 1) << "Cancel starts nothing";
}

TEST_F(ViewModesTest, TheCommandPromptOpensATerminalInTheCurrentFolder)
{
    const QString folder = makeFolder(QStringLiteral("work"));
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("x-terminal-emulator"));
    auto window = shownIn(folder);
    window->controls().buttons[size_t(BandButton::C_Prompt)]->click();
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().program, QStringLiteral("/usr/bin/x-terminal-emulator"));
    EXPECT_EQ(launcher.launches().first().workingFolder + QLatin1Char('/'), window->CurrentPath());
}

TEST_F(ViewModesTest, TheStatusBarAndTheDeleteButtonFollowTheSelection)
{
    const QString folder = makeFolder(QStringLiteral("sel"));
    const QString a = makeFile(QStringLiteral("sel/a.txt"), "12345");
    const QString b = makeFile(QStringLiteral("sel/b.txt"), "123");
    auto window = shownIn(folder);
    const MainWindowControls& c = window->controls();
    TFileViewFol* list = c.FileViewFol1;
    select(*window, a);
    list->currentView()->selectAll();
    list->currentView()->setFocus();
    window->idle().folderFacts().waitForIdle();
    // The event loop of a test never blocks, so the idle handler is run by hand.
    auto idleUntil = [&window](const std::function<bool()>& done) {
        return QTest::qWaitFor([&] {
            window->idle().UpdateControlStates();
            return done();
        }, 5000);
    };
    EXPECT_TRUE(idleUntil([&] { return c.statusPanels[0]->text() == QStringLiteral("2 selected"); })) << qPrintable(c.statusPanels[0]->text());
    EXPECT_EQ(c.statusPanels[1]->text(), QStringLiteral("8.00 Bytes")) << "the size of the selection";
    EXPECT_TRUE(idleUntil([&] { return c.buttons[size_t(BandButton::Delete)]->isEnabled(); }));
    QAction* menuDelete = window->findChild<QAction*>(QStringLiteral("MenuDelete"));
    ASSERT_TRUE(menuDelete);
    QSignalSpy deletes(menuDelete, &QAction::triggered);
    FakeFileOperations operations;
    c.buttons[size_t(BandButton::Delete)]->click();
    EXPECT_EQ(deletes.size(), 1) << "the toolbar button is the Delete command";
    ASSERT_EQ(operations.requests().size(), 1);
    QStringList sources = operations.requests().first().sources;
    sources.sort();
    EXPECT_EQ(sources, (QStringList{a, b}));

    window->enterMode(vmWebBrowser);
    window->idle().UpdateControlStates();
    EXPECT_FALSE(c.buttons[size_t(BandButton::Delete)]->isEnabled()) << "never in the web browser";
    EXPECT_EQ(c.buttons[size_t(BandButton::Web)]->toolTip(), QStringLiteral("Folvane File Manager"));
}

} // namespace
