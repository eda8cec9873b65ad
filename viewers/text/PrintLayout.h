#pragma once
// The lines the editor prints: every line, or the selected lines, each after a margin of
// as many spaces as the editor's left margin (in pixels). On the first selected line the
// text before the selection is blanked with spaces (the first selected character itself
// is printed); on the last the text after the selection is cut. Lines are whole: the page
// wraps them, nothing is cut at a fixed length.

#include <QStringList>

#include <optional>

class PrintLayout {
public:
    // Lines counted from 1; first column: the first selected character's column; last
    // column: the column of the last selected character (columns from 1).
    struct Selection {
        int firstLine = 1;
        int firstColumn = 1;
        int lastLine = 1;
        int lastColumn = 0;
    };

    static QStringList lines(const QStringList& text, int leftMargin, const std::optional<Selection>& selection);
};
