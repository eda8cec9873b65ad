#pragma once
// The file list's sort column and direction. They are program-wide, not per list: the main
// window stores them with its settings and every list sorts by them. DecendSort true means
// ascending (the stored setting's name is kept); false, the first-run default, descending.

namespace FileSortOrder {
inline int FileSortIndex = 0;
inline bool DecendSort = false;
} // namespace FileSortOrder
