#include "viewers/text/TextReplacer.h"

#include <QTextDocument>

namespace {

QTextDocument::FindFlags findFlags(SearchOptions options)
{
    QTextDocument::FindFlags flags;
    if (options & SearchOption::Backward)
        flags |= QTextDocument::FindBackward;
    if (options & SearchOption::MatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options & SearchOption::WholeWord)
        flags |= QTextDocument::FindWholeWords;
    return flags;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isWholeWord(const QString& source, qsizetype at, qsizetype length)
{
    return (at == 0 || !isWordChar(source[at - 1])) && (at + length >= source.size() || !isWordChar(source[at + length]));
}

// The scope of Replace All as a selection: the whole text, the selection, or from the
// caret to the end (to the start, backward).
QTextCursor replaceAllScope(const QTextCursor& caret, SearchOptions options)
{
    QTextCursor scope(caret);
    if (options & SearchOption::Global) {
        scope.select(QTextCursor::Document);
    } else if (!(options & SearchOption::SelectedText)) {
        scope.clearSelection();
        scope.movePosition(options & SearchOption::Backward ? QTextCursor::Start : QTextCursor::End, QTextCursor::KeepAnchor);
    }
    return scope;
}

} // namespace

int TextReplacer::find(QTextCursor& caret, const QString& text, SearchOptions options)
{
    if (text.isEmpty())
        return -1;
    const bool backward = options & SearchOption::Backward;
    const int from = backward ? caret.selectionStart() : caret.selectionEnd();
    const QTextCursor hit = caret.document()->find(text, from, findFlags(options));
    if (hit.isNull())
        return -1;
    caret = hit;
    return hit.selectionStart();
}

int TextReplacer::findFrom(QTextCursor& caret, int from)
{
    const QTextCursor hit = caret.document()->find(m_text, from, findFlags(m_options));
    const bool inScope = !hit.isNull()
        && (m_scopeEnd.isNull() || (hit.selectionStart() >= m_scopeStart.position() && hit.selectionEnd() <= m_scopeEnd.position()));
    if (!inScope) {
        m_matchStart = m_matchEnd = -1;
        return -1;
    }
    caret = hit;
    m_matchStart = hit.selectionStart();
    m_matchEnd = hit.selectionEnd();
    return m_matchStart;
}

int TextReplacer::replace(QTextCursor& caret, const QString& text, const QString& with, SearchOptions options)
{
    const bool backward = options & SearchOption::Backward;
    if (!m_started) {
        m_started = true;
        m_text = text;
        m_options = options;
        int from = caret.position();
        if (options & SearchOption::Global) {
            from = backward ? caret.document()->characterCount() - 1 : 0;
        } else if (options & SearchOption::SelectedText) {
            m_scopeStart = QTextCursor(caret.document());
            m_scopeStart.setPosition(caret.selectionStart());
            m_scopeEnd = QTextCursor(caret.document());
            m_scopeEnd.setPosition(caret.selectionEnd());
            from = backward ? caret.selectionEnd() : caret.selectionStart();
        }
        return findFrom(caret, from);
    }
    if (caret.hasSelection() && caret.selectionStart() == m_matchStart && caret.selectionEnd() == m_matchEnd) {
        caret.insertText(with);
        return findFrom(caret, backward ? m_matchStart : caret.position());
    }
    return findFrom(caret, caret.position());
}

QString TextReplacer::replacedText(const QString& source, const QString& text, const QString& with,
                                   SearchOptions options, int* count)
{
    const Qt::CaseSensitivity cs = options & SearchOption::MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool wholeWord = options & SearchOption::WholeWord;
    QString result;
    result.reserve(source.size());
    int replaced = 0;
    qsizetype done = 0;
    for (qsizetype at = source.indexOf(text, 0, cs); at >= 0 && !text.isEmpty(); at = source.indexOf(text, at, cs)) {
        if (wholeWord && !isWholeWord(source, at, text.size())) {
            ++at;
            continue;
        }
        result += QStringView(source).mid(done, at - done);
        result += with;
        at += text.size();
        done = at;
        ++replaced;
    }
    result += QStringView(source).mid(done);
    if (count)
        *count = replaced;
    return result;
}

int TextReplacer::replaceAll(QTextCursor& caret, const QString& text, const QString& with, SearchOptions options)
{
    QTextCursor scope = replaceAllScope(caret, options);
    // The selection's paragraph separators are the document's line breaks.
    const QString source = scope.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    int count = 0;
    const QString result = replacedText(source, text, with, options, &count);
    if (count == 0)
        return 0;
    // One edit block: one Undo takes every replacement back.
    scope.beginEditBlock();
    scope.insertText(result);
    scope.endEditBlock();
    caret.setPosition(scope.position());
    return count;
}
