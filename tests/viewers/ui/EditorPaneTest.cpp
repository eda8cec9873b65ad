// The text editor pane: files come back byte for byte (checked with cmp), the status line,
// Clear All Text, Select All, leaving with unsaved text, the recovery file, printing to
// PDF (read back with pdftotext), tabs, auto indent and wrap defaults.
#include "ViewerPaneFixture.h"

#include "viewers/text/EditorRecovery.h"
#include "viewers/ui/TextEditorControl.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {

class EditorPaneTest : public ViewerPaneFixture {};

bool sameBytes(const QString& a, const QString& b)
{
    return QProcess::execute(QStringLiteral("cmp"), {QStringLiteral("-s"), a, b}) == 0;
}

TEST_F(EditorPaneTest, SavingAnUntouchedFileGivesBackItsBytes)
{
    QByteArray withNul;
    while (withNul.size() < 1000)
        withNul += "text line\n";
    withNul += QByteArray("\0after\0nul\n", 11);
    const std::pair<const char*, QByteArray> files[] = {
        {"script.sh", "#!/bin/sh\necho \"hi\"\n"},
        {"dos.txt", "one\r\ntwo\r\nthree"},
        {"latin1.txt", "d\xe9j\xe0 vu\n\xa0non-breaking\n"},
        {"nul.txt", withNul},
    };
    for (const auto& [name, bytes] : files) {
        const QString path = makeFile(QLatin1String(name), bytes);
        const QString original = makeFile(QLatin1String(name) + QStringLiteral(".orig"), bytes);
        editor->enter(path);
        editor->MenuSaveClick();
        EXPECT_TRUE(sameBytes(path, original)) << name;
        editor->leave();
    }
}

TEST_F(EditorPaneTest, AnEditedScriptKeepsItsLineEnds)
{
    const QString path = makeFile(QStringLiteral("run.sh"), "#!/bin/sh\necho one\n");
    editor->enter(path);
    QTextCursor caret = editor->editor()->textCursor();
    caret.movePosition(QTextCursor::End);
    caret.insertText(QStringLiteral("echo two\n"));
    editor->MenuSaveClick();
    EXPECT_EQ(readFile(path), "#!/bin/sh\necho one\necho two\n");
    EXPECT_FALSE(editor->isModified());
}

TEST_F(EditorPaneTest, StatusLineAndInsertMode)
{
    const QString path = makeFile(QStringLiteral("s.txt"), "ab\ncd\n");
    editor->enter(path);
    EXPECT_EQ(context->statusPanel(1)->text(), QStringLiteral(" Line: 1 Column: 1"));
    EXPECT_EQ(context->statusPanel(2)->text(), QStringLiteral("EDITOR"));
    EXPECT_EQ(context->statusPanel(3)->text(), QStringLiteral(" Insert"));
    QTest::keyClick(editor->editor(), Qt::Key_Down);
    QTest::keyClick(editor->editor(), Qt::Key_Right);
    EXPECT_EQ(context->statusPanel(1)->text(), QStringLiteral(" Line: 2 Column: 2"));
    QTest::keyClick(editor->editor(), Qt::Key_Insert);
    EXPECT_EQ(context->statusPanel(3)->text(), QStringLiteral(" Overwrite"));
    QTest::keyClicks(editor->editor(), QStringLiteral("X"));
    EXPECT_EQ(editor->editor()->documentText(), QStringLiteral("ab\ncX\n"));
    EXPECT_TRUE(context->statusPanel(0)->text().endsWith(QStringLiteral("s.txt")));
}

TEST_F(EditorPaneTest, ClearAllTextAsksAndCannotBeUndone)
{
    editor->enter(makeFile(QStringLiteral("c.txt"), "keep me\n"));
    prompter().answer(PromptButton::No);
    editor->MenuClearAllTextClick();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Are you sure you want to clear all text?\r\nUndo will not recover this action!"));
    EXPECT_EQ(editor->editor()->documentText(), QStringLiteral("keep me\n"));
    prompter().answer(PromptButton::Yes);
    editor->MenuClearAllTextClick();
    EXPECT_TRUE(editor->editor()->documentText().isEmpty());
    editor->editor()->undo();
    EXPECT_TRUE(editor->editor()->documentText().isEmpty());
    EXPECT_TRUE(editor->isModified());
}

TEST_F(EditorPaneTest, SelectAllTogglesAndTheEditMenuSaysSo)
{
    context->setMode(vmTextEditor);
    editor->enter(makeFile(QStringLiteral("a.txt"), "all of it"));
    QAction* selectAll = window.findChild<QAction*>(QStringLiteral("MenuSelectAll"));
    selectAll->trigger();
    EXPECT_EQ(editor->editor()->textCursor().selectedText(), QStringLiteral("all of it"));
    commands->MenuEditClick();
    EXPECT_EQ(selectAll->text(), QStringLiteral("Un-Select All"));
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("MenuCut"))->isEnabled());
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("MenuClearAllText"))->isVisible());
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("MenuRename"))->isVisible());
    selectAll->trigger();
    EXPECT_FALSE(editor->editor()->textCursor().hasSelection());
    commands->MenuEditClick();
    EXPECT_EQ(selectAll->text(), QStringLiteral("Select &All"));
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("MenuCopy"))->isEnabled());
}

TEST_F(EditorPaneTest, LeavingWithUnsavedText)
{
    const QString path = makeFile(QStringLiteral("u.txt"), "v1\n");
    editor->enter(path);
    EXPECT_TRUE(editor->mayLeave()); // nothing changed: nothing asked
    editor->editor()->insertPlainText(QStringLiteral("new "));

    // The save dialog saves under the name chosen.
    const QString other = home().root() + QStringLiteral("/other.txt");
    pickers().answer(other);
    EXPECT_TRUE(editor->mayLeave());
    EXPECT_EQ(readFile(other), "new v1\n");

    // Cancelling the dialog asks before dropping the text; No keeps the editor.
    editor->editor()->insertPlainText(QStringLiteral("more "));
    pickers().answer(QString());
    prompter().answer(PromptButton::No);
    EXPECT_FALSE(editor->mayLeave());
    EXPECT_EQ(prompter().last().text, QStringLiteral("Discard the changes to other.txt?"));
    pickers().answer(QString());
    prompter().answer(PromptButton::Yes);
    EXPECT_TRUE(editor->mayLeave());
    EXPECT_TRUE(editor->mayLeave()); // dropped once: not asked again
}

TEST_F(EditorPaneTest, UnsavedTextGoesToARecoveryFile)
{
    editor->enter(makeFile(QStringLiteral("r.txt"), "saved\r\n"));
    editor->editor()->insertPlainText(QStringLiteral("typed "));
    editor->preserveUnsaved();
    const QStringList files = QDir(EditorRecovery::folder()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().startsWith(QStringLiteral("r.txt.")));
    EXPECT_EQ(readFile(EditorRecovery::folder() + QLatin1Char('/') + files.first()), "typed saved\r\n");

    // The next start tells of it once, under a name the editor opens as text.
    const QStringList told = EditorRecovery::takeUntold();
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told.first(), EditorRecovery::folder() + QLatin1Char('/') + files.first() + QStringLiteral(".txt"));
    EXPECT_EQ(readFile(told.first()), "typed saved\r\n");
    EXPECT_TRUE(EditorRecovery::takeUntold().isEmpty());
}

TEST_F(EditorPaneTest, PrintsWholeLinesAndSelections)
{
    const QString longWords = QStringLiteral("word ").repeated(300).trimmed(); // 1,499 characters
    editor->enter(makeFile(QStringLiteral("p.txt"), ("head\n" + longWords + "\nabcdef\n").toUtf8()));
    auto printed = [this](bool selection) {
        const QString pdf = home().root() + QStringLiteral("/out.pdf");
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        editor->printTo(printer, selection);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.waitForFinished());
        return QString::fromUtf8(text.readAllStandardOutput());
    };
    const QString all = printed(false);
    EXPECT_TRUE(all.contains(QStringLiteral("head")));
    EXPECT_EQ(all.count(QStringLiteral("word")), 300); // the long line is not cut
    QTextCursor caret = editor->editor()->textCursor();
    const int line3 = editor->editor()->document()->findBlockByNumber(2).position();
    caret.setPosition(line3 + 2);
    caret.setPosition(line3 + 4, QTextCursor::KeepAnchor);
    editor->editor()->setTextCursor(caret);
    // The page carries its number too.
    const QString selected = printed(true).simplified();
    EXPECT_EQ(selected, QStringLiteral("cd 1"));
}

TEST_F(EditorPaneTest, TabsIndentAndZeroSettings)
{
    settings.textEditorTabSize = 0;
    settings.textEditorWrapColumn = 0;
    settings.textEditorTabType = int(TextEditorControl::TabType::Fixed);
    settings.textEditorAutoIndent = true;
    editor->enter(makeFile(QStringLiteral("t.txt"), ""));
    TextEditorControl* e = editor->editor();
    EXPECT_EQ(e->TabSize(), 8);
    EXPECT_EQ(e->WrapColumn(), 80);
    QTest::keyClick(e, Qt::Key_Tab);
    QTest::keyClicks(e, QStringLiteral("x"));
    QTest::keyClick(e, Qt::Key_Return);
    QTest::keyClicks(e, QStringLiteral("y"));
    EXPECT_EQ(e->documentText(), QStringLiteral("        x\n        y"));

    e->setTabType(TextEditorControl::TabType::Smart);
    e->setPlainText(QStringLiteral("int  value;\n"));
    e->moveCursor(QTextCursor::End);
    EXPECT_EQ(e->tabText(), QStringLiteral("     ")); // under "value"
    e->setTabType(TextEditorControl::TabType::Real);
    EXPECT_EQ(e->tabText(), QStringLiteral("\t"));
}

TEST_F(EditorPaneTest, WordWrapBreaksLinesAtTheWrapColumn)
{
    settings.textEditorWordwrap = true;
    settings.textEditorWrapColumn = 20;
    editor->resize(800, 300);
    editor->show();
    editor->enter(makeFile(QStringLiteral("w.txt"), "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj\n"));
    const QTextBlock block = editor->editor()->document()->firstBlock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return block.layout() && block.layout()->lineCount() > 0; }));
    // 50 characters at 20 a line: three lines, none wider than the column.
    EXPECT_EQ(block.layout()->lineCount(), 3);
    for (int i = 0; i < block.layout()->lineCount(); ++i)
        EXPECT_LE(block.layout()->lineAt(i).textLength(), 20);
}

TEST_F(EditorPaneTest, AFifoIsRefusedWithoutWaiting)
{
    const QString fifo = home().root() + QStringLiteral("/pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(editor->openFile(fifo));
    EXPECT_TRUE(prompter().last().text.contains(QStringLiteral("not a regular file")));
}

} // namespace
