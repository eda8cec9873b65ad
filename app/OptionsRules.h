#pragma once
// The rules of the options dialog that need no window: the corrections of the editor's
// numeric fields, the spinner delay's label, and the seven stored lists of its Lists
// Editor with their loading and saving.

#include "app/AppSettings.h"

#include <QString>
#include <QStringList>

#include <span>

class OptionsRules {
public:
    // Tab size field: empty, 0, or 256 and more are applied as 8 (a tab of width 0 would
    // divide by zero in the editor's layout).
    static int appliedTabSize(const QString& field);
    // Wrap column field: empty or 0 is applied as 80 (a wrap at column 0 never ends a line).
    static int appliedWrapColumn(const QString& field);

    // The spinner delay slider: 500 to 20,000 ms in steps of 500.
    static constexpr int kSpinDelayMin = 500;
    static constexpr int kSpinDelayMax = 20000;
    static constexpr int kSpinDelayStep = 500;
    // "~" + the delay in seconds as "%2.1f" + " seconds" ("~5.0 seconds").
    static QString spinDelayLabel(int milliseconds);

    // One list of the Lists Editor: its caption in the chooser and its stem (the subkey under
    // the program's settings key and the prefix of its values).
    struct StoredList {
        const char* caption;
        const char* stem;
    };
    enum ListIndex { Masks = 0, Paths = 1 };
    static std::span<const StoredList> storedLists();

    // The list's stored values, up to the first missing number.
    static QStringList loadList(const QString& settingsFile, int list);
    // Saves the edited lines of a list: the masks are sorted with case-insensitive duplicates
    // dropped and become the window's mask box items, the paths become its recent folders;
    // then the list's key is deleted and written again from the items (an empty list leaves
    // an empty key). Returns the items stored; false in *ok when the file could not be written.
    static QStringList saveList(const QString& settingsFile, int list, const QStringList& lines, AppSettings& settings,
                                bool* ok);
};
