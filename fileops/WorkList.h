#pragma once
// The work list of the batch commands: the files they act on, collected from the list rows.

#include "fileops/BrowsePanes.h"

#include <QStringList>

// Walks the rows in order (every row when wholeList, else the selected ones): a row whose
// path is an existing file is taken as it is; any other row is taken as a folder and every
// file below it is added, first the folder's own files in the order the file system gives
// them, then each subfolder whose name does not begin with "." in the same way. Only
// regular files (or links to them) are taken, and linked folders are not entered, so a
// link loop or a FIFO cannot hang a batch.
QStringList CollectSelectedFiles(const QList<ListEntry>& rows, bool wholeList);
