#pragma once
// The folder tree's view of a folder: its subfolders that pass the tree's attribute filter
// (FileAttributes::passesFolderFilter), and whether there is at least one.

#include "browse/FileAttributes.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace SubfolderReader {

struct Subfolder {
    QString name;        // bytes carried in a string (FileName)
    uint32_t attributes; // FileAttribute bits, as the file list reads them
};

// The subfolders, ordered by their names (isBefore). Empty when the folder cannot be read.
QList<Subfolder> subfolders(const QString& folder, TFileType folderType);

// The order of the tree's folders: the user's locale, letter case significant.
bool isBefore(const QString& a, const QString& b);

// Whether the folder has a subfolder that passes the filter; stops at the first one.
bool hasSubfolder(const QString& folder, TFileType folderType);

// The attributes of `name` in `parent` when it is a folder that passes the filter, from that
// one entry alone (a stat, the parent's ".hidden" list): how a path is followed before the
// parent's subfolders have all been read. nullopt when it is not shown.
std::optional<uint32_t> shownSubfolder(const QString& parent, const QString& name, TFileType folderType);

} // namespace SubfolderReader
