// Find and replace over the editor's document: the replace loop's steps (Yes, No, the
// scope of the first search only, a replacement that holds the text), Replace All as one
// undo step checked against sed, and the printed lines of a selection.
#include "viewers/text/PrintLayout.h"
#include "viewers/text/TextReplacer.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// Runs the loop as the window does, answering each "Replace?" from answers ('y', 'n');
// the document's text at the end and the number of questions asked.
std::pair<QString, int> runLoop(const QString& text, const QString& find, const QString& with, SearchOptions options,
                                const std::string& answers, int caretStart = 0, int caretEnd = -1)
{
    QTextDocument document(text);
    QTextCursor caret(&document);
    caret.setPosition(caretStart);
    if (caretEnd >= 0)
        caret.setPosition(caretEnd, QTextCursor::KeepAnchor);
    TextReplacer replacer;
    int asked = 0;
    for (int at = replacer.replace(caret, find, with, options); at != -1 && caret.hasSelection();) {
        if (asked >= int(answers.size()))
            break;
        if (answers[size_t(asked++)] == 'n')
            caret.setPosition(options & SearchOption::Backward ? caret.selectionStart() : caret.selectionEnd());
        at = replacer.replace(caret, find, with, options);
    }
    return {document.toPlainText(), asked};
}

TEST(TextReplacerTest, ReplaceLoopSteps)
{
    struct Case {
        const char* name;
        QString text;
        QString find;
        QString with;
        SearchOptions options;
        std::string answers;
        int caretStart;
        int caretEnd;
        QString expected;
        int asked;
    };
    const SearchOptions global = SearchOption::Replace | SearchOption::Global;
    const Case cases[] = {
        {"a by aa ends", "a a a", "a", "aa", global, "yyyyyyyy", 0, -1, "aa aa aa", 3},
        {"no moves on", "x x x", "x", "y", global, "nyn", 0, -1, "x y x", 3},
        {"case", "Ab ab AB", "ab", "-", global | SearchOption::MatchCase, "yy", 0, -1, "Ab - AB", 1},
        {"whole word", "cat catalog cat", "cat", "dog", global | SearchOption::WholeWord, "yyy", 0, -1, "dog catalog dog", 2},
        {"from the caret", "b1 b2 b3", "b", "c", SearchOption::Replace, "yyy", 3, -1, "b1 c2 c3", 2},
        {"backward from the caret", "b1 b2 b3", "b", "c", SearchOption::Replace | SearchOption::Backward, "yyy", 4, -1, "c1 c2 b3", 2},
        {"backward global", "q q q", "q", "qq", global | SearchOption::Backward, "yyyy", 0, -1, "qq qq qq", 3},
        {"selected text only", "z z z z", "z", "w", SearchOption::Replace | SearchOption::SelectedText, "yyyy", 2, 5, "z w w z", 2},
        {"across lines", "one\ntwo one", "one", "1", global, "yy", 0, -1, "1\ntwo 1", 2},
    };
    for (const Case& c : cases) {
        const auto [text, asked] = runLoop(c.text, c.find, c.with, c.options, c.answers, c.caretStart, c.caretEnd);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

TEST(TextReplacerTest, FindSelectsTheNextMatch)
{
    QTextDocument document(QStringLiteral("Find find FIND"));
    QTextCursor caret(&document);
    EXPECT_EQ(TextReplacer::find(caret, QStringLiteral("find"), SearchOption::Find), 0);
    EXPECT_EQ(TextReplacer::find(caret, QStringLiteral("find"), SearchOption::Find), 5);
    EXPECT_EQ(caret.selectedText(), QStringLiteral("find"));
    EXPECT_EQ(TextReplacer::find(caret, QStringLiteral("find"), SearchOption::Find | SearchOption::MatchCase), -1);
    EXPECT_EQ(TextReplacer::find(caret, QString(), SearchOption::Find), -1);
}

TEST(TextReplacerTest, ReplaceAllIsOneUndoStepAndMatchesSed)
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("foo bar Foo food\n");
    QTextDocument document(text);
    QTextCursor caret(&document);
    const SearchOptions options = SearchOption::ReplaceAll | SearchOption::Global | SearchOption::MatchCase;
    EXPECT_EQ(TextReplacer::replaceAll(caret, QStringLiteral("foo"), QStringLiteral("qux"), options), 4000);

    QTemporaryFile input;
    ASSERT_TRUE(input.open());
    input.write(text.toUtf8());
    input.close();
    QProcess sed;
    sed.start(QStringLiteral("sed"), {QStringLiteral("s/foo/qux/g"), input.fileName()});
    ASSERT_TRUE(sed.waitForFinished());
    EXPECT_EQ(document.toPlainText() + QLatin1Char('\n'), QString::fromUtf8(sed.readAllStandardOutput()) + QLatin1Char('\n'));

    document.undo();
    EXPECT_EQ(document.toPlainText(), text);
    EXPECT_EQ(TextReplacer::replaceAll(caret, QStringLiteral("absent"), QStringLiteral("x"), options), 0);
}

TEST(TextReplacerTest, ReplaceAllScopes)
{
    const SearchOptions all = SearchOption::ReplaceAll;
    QTextDocument document(QStringLiteral("a a a a"));
    QTextCursor caret(&document);
    caret.setPosition(2);
    caret.setPosition(5, QTextCursor::KeepAnchor);
    EXPECT_EQ(TextReplacer::replaceAll(caret, QStringLiteral("a"), QStringLiteral("b"), all | SearchOption::SelectedText), 2);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("a b b a"));
    caret.setPosition(3);
    EXPECT_EQ(TextReplacer::replaceAll(caret, QStringLiteral("a"), QStringLiteral("c"), all | SearchOption::Backward), 1);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("c b b a"));
    int count = 0;
    EXPECT_EQ(TextReplacer::replacedText(QStringLiteral("x_y x y"), QStringLiteral("x"), QStringLiteral("z"),
                                         SearchOption::WholeWord, &count),
              QStringLiteral("x_y z y"));
    EXPECT_EQ(count, 1);
}

TEST(PrintLayoutTest, AllAndSelectedLines)
{
    const QStringList text{QStringLiteral("first line"), QStringLiteral("abcdef"), QStringLiteral("third")};
    EXPECT_EQ(PrintLayout::lines(text, 3, std::nullopt),
              (QStringList{QStringLiteral("   first line"), QStringLiteral("   abcdef"), QStringLiteral("   third")}));
    // "cd" of "abcdef": the text before is blanked, the first selected character printed.
    EXPECT_EQ(PrintLayout::lines(text, 0, PrintLayout::Selection{2, 3, 2, 4}), QStringList{QStringLiteral("  cd")});
    EXPECT_EQ(PrintLayout::lines(text, 2, PrintLayout::Selection{1, 7, 3, 2}),
              (QStringList{QStringLiteral("        line"), QStringLiteral("  abcdef"), QStringLiteral("  th")}));
    // A line far beyond 1,023 characters is printed whole.
    const QString longLine(5000, QLatin1Char('w'));
    EXPECT_EQ(PrintLayout::lines({longLine}, 0, std::nullopt).first().size(), 5000);
}

} // namespace
