#pragma once
// Find and replace over the editor's document (a QTextDocument, no widget), with the
// options of SearchOptions.
//
// A replace loop is one TextReplacer: the first step searches in the scope the options
// give (the whole text for Global, the selection for Selected Text, else from the caret);
// it selects the match and answers its position. The next step replaces the match when it
// is still selected (the user said Yes) and searches on from the caret past the
// replacement, so a replacement that contains the text ("a" by "aa") is never found again;
// a collapsed selection (No) just searches on from the caret. Within Selected Text every
// step stays inside the first selection. -1 means no (further) occurrence.

#include "viewers/text/SearchOptions.h"

#include <QString>
#include <QTextCursor>

class TextReplacer {
public:
    // Selects the next match after the caret's selection (before it, backward); its
    // position, -1 when none.
    static int find(QTextCursor& caret, const QString& text, SearchOptions options);

    int replace(QTextCursor& caret, const QString& text, const QString& with, SearchOptions options);

    // Replaces every match in the scope as one undo step; the number replaced.
    static int replaceAll(QTextCursor& caret, const QString& text, const QString& with, SearchOptions options);

    // Every match of text in source (whole words only with WholeWord) replaced by with.
    static QString replacedText(const QString& source, const QString& text, const QString& with,
                                SearchOptions options, int* count);

private:
    int findFrom(QTextCursor& caret, int from);

    bool m_started = false;
    QString m_text;
    SearchOptions m_options;
    QTextCursor m_scopeStart; // Selected Text: the bounds of the first selection
    QTextCursor m_scopeEnd;
    int m_matchStart = -1;
    int m_matchEnd = -1;
};
