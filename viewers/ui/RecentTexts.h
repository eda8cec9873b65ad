#pragma once
// The remembered texts of the find and replace boxes: the settings tree's history lists
// "MRUFind" (shared with the file search dialog's content box) and "MRURepl", read when a
// dialog opens and updated when it closes (HistoryList's upkeep: at most ten kept before
// the new text goes in, sorted, duplicates dropped ignoring case).

#include <QStringList>

class QComboBox;

namespace RecentTexts {

extern const char* const kFind;    // "MRUFind"
extern const char* const kReplace; // "MRURepl"

QStringList load(const QString& settingsFile, const char* stem);
// Stores the list with the box's text put in; the index of that text in the stored list
// (so the dialog opens on it next time), -1 when it is empty.
int save(const QString& settingsFile, const char* stem, const QComboBox& box);
// Fills box with the list and selects the item at index when it is within the list.
void fill(QComboBox& box, const QStringList& items, int index);

} // namespace RecentTexts
