#pragma once
// The options the find and replace dialogs hand to the viewer's and the editor's search,
// with their stored bit values.

#include <QFlags>

enum class SearchOption {
    Find = 1,
    Backward = 2,
    MatchCase = 4,
    Global = 8,
    Replace = 16,
    ReplaceAll = 32,
    WholeWord = 64,
    SelectedText = 128,
};
Q_DECLARE_FLAGS(SearchOptions, SearchOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(SearchOptions)
