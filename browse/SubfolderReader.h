#pragma once
// The folder tree's view of a folder: its subfolders that pass the tree's attribute filter
// (FileAttributes::passesFolderFilter), and whether there is at least one.

#include "browse/FileAttributes.h"

#include <QStringList>

namespace SubfolderReader {

// The names of the subfolders, ordered by the user's locale with letter case significant.
// Empty when the folder cannot be read.
QStringList subfolders(const QString& folder, TFileType folderType);

// Whether the folder has a subfolder that passes the filter; stops at the first one.
bool hasSubfolder(const QString& folder, TFileType folderType);

// Whether `name` in `parent` is a folder that passes the filter, from that one entry alone
// (a stat, the parent's ".hidden" list): how a path is followed before the parent's
// subfolders have all been read.
bool isShownSubfolder(const QString& parent, const QString& name, TFileType folderType);

} // namespace SubfolderReader
