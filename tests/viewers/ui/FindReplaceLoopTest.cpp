// The find and replace loops of the viewer and the editor: the dialog shown again after
// each search until Cancel, the exact "not found" texts, "Replace?" for each occurrence,
// Replace All, and the find texts shared with the file search dialog (MRUFind).
#include "ViewerPaneFixture.h"

#include "platform/HistoryList.h"
#include "viewers/ui/FileViewerControl.h"
#include "viewers/ui/TextEditorControl.h"

#include <QTest>

namespace {

class FindReplaceLoopTest : public ViewerPaneFixture {
protected:
    void openEditor(const QByteArray& text)
    {
        context->setMode(vmTextEditor);
        editor->enter(makeFile(QStringLiteral("e.txt"), text));
    }
    QString text() const { return editor->editor()->documentText(); }
};

TEST_F(FindReplaceLoopTest, ViewerFindLoopsToTheEndAndStartsOver)
{
    context->setMode(vmFileViewer);
    viewer->enter(makeFile(QStringLiteral("v.txt"), "alpha beta\nBETA gamma\n"));
    dialogAnswers = {{QStringLiteral("beta")}, {QStringLiteral("beta")}, {QStringLiteral("beta")}};
    prompter().answer(PromptButton::Ok);
    commands->MenuFindClick();
    FileViewerControl* control = viewer->viewer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogsShown.size() == 4; }, 10000));
    EXPECT_EQ(dialogsShown, QStringList(4, QStringLiteral("Find")));
    // beta at 6, BETA at 11 (case ignored), then past the end: the message and the caret at 0.
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Search string 'beta' not found from here to end.")});
    EXPECT_EQ(control->caretOffset(), 0);
    EXPECT_FALSE(control->hasSelection());
    EXPECT_FALSE(context->meter()->isVisible());
}

TEST_F(FindReplaceLoopTest, EditorFindAndAnEmptyTextShowsTheDialogAgain)
{
    openEditor("one two one\n");
    dialogAnswers = {{QString()}, {QStringLiteral("one")}, {QStringLiteral("one")}, {QStringLiteral("one")}};
    prompter().answer(PromptButton::Ok);
    commands->MenuFindClick();
    EXPECT_EQ(dialogsShown.size(), 5);
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Search string 'one' not found from here to end.")});
    EXPECT_EQ(editor->editor()->caretLine(), 1);
    EXPECT_EQ(editor->editor()->caretColumn(), 1);
}

TEST_F(FindReplaceLoopTest, ReplaceAsksForEachOccurrence)
{
    openEditor("a a a\n");
    dialogAnswers = {{QStringLiteral("a"), QDialog::Accepted, QStringLiteral("aa"), false}};
    prompter().answer(PromptButton::Yes).answer(PromptButton::No).answer(PromptButton::Yes).answer(PromptButton::Ok);
    commands->MenuReplaceClick();
    EXPECT_EQ(text(), QStringLiteral("aa a aa\n"));
    EXPECT_EQ(prompter().texts(), (QStringList{QStringLiteral("Replace?"), QStringLiteral("Replace?"), QStringLiteral("Replace?"),
                                               QStringLiteral("Search string 'a' not found")}));
    EXPECT_EQ(dialogsShown, QStringList(2, QStringLiteral("Replace Text")));
}

TEST_F(FindReplaceLoopTest, CancelShowsNoNotFoundAndReplaceAllIsQuiet)
{
    openEditor("x x x\n");
    dialogAnswers = {{QStringLiteral("x"), QDialog::Accepted, QStringLiteral("y"), false},
                     {QStringLiteral("x"), TReplDlg::kReplaceAll, QStringLiteral("z"), false},
                     {QStringLiteral("absent"), TReplDlg::kReplaceAll, QStringLiteral("z"), false}};
    prompter().answer(PromptButton::Yes).answer(PromptButton::Cancel).answer(PromptButton::Ok);
    commands->MenuReplaceClick();
    EXPECT_EQ(text(), QStringLiteral("y z z\n"));
    EXPECT_EQ(prompter().texts(), (QStringList{QStringLiteral("Replace?"), QStringLiteral("Replace?"),
                                               QStringLiteral("Search string 'absent' not found")}));
    editor->editor()->undo();
    EXPECT_EQ(text(), QStringLiteral("y x x\n")); // Replace All went in one step
}

TEST_F(FindReplaceLoopTest, FindTextsAreSharedWithTheFileSearch)
{
    // What the file search's content box stored is offered here, and the reverse.
    Registry registry(settingsFile);
    ASSERT_TRUE(registry.load());
    const QString key = QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\MRUFind");
    HistoryList::write(registry, key, QStringLiteral("MRUFind"), {QStringLiteral("from search")});
    registry.save();
    openEditor("needle\n");
    dialogAnswers = {{QStringLiteral("needle")}};
    commands->MenuFindClick();
    ASSERT_EQ(offeredLists.size(), 2);
    EXPECT_EQ(offeredLists[0], QStringList{QStringLiteral("from search")});
    EXPECT_EQ(offeredLists[1], (QStringList{QStringLiteral("from search"), QStringLiteral("needle")}));
    Registry after(settingsFile);
    ASSERT_TRUE(after.load());
    EXPECT_EQ(HistoryList::read(after, key, QStringLiteral("MRUFind")), (QStringList{QStringLiteral("from search"), QStringLiteral("needle")}));
    // The dialog opens on the text just searched for.
    EXPECT_EQ(openedWith.last(), QStringLiteral("needle"));
}

TEST_F(FindReplaceLoopTest, SearchMenuShowsReplaceInTheEditorOnly)
{
    QAction* replace = window.findChild<QAction*>(QStringLiteral("MenuReplace"));
    commands->MenuSearchClick();
    EXPECT_FALSE(replace->isVisible());
    context->setMode(vmTextEditor);
    commands->MenuSearchClick();
    EXPECT_TRUE(replace->isVisible());
    EXPECT_EQ(replace->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("MenuFind"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
}

} // namespace
