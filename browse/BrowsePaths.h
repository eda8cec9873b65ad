#pragma once
// Path helpers shared by the browse panes. Paths are compared as bytes (Linux file names
// are case-sensitive); a folder shown in the list carries a trailing "/", tree and tab
// paths do not.

#include <QString>

namespace BrowsePaths {

// Whether `path` is the drive root `root` or lies below it ("/data2" is not below "/data").
bool isOnDrive(const QString& root, const QString& path);

// A path as "save to clipboard" writes it: a folder or file on a mounted SMB share as the
// share's URL with blanks escaped ("file://server/share/a%20b"), anything else as it is.
QString networkForm(const QString& path);

} // namespace BrowsePaths
