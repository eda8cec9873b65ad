#pragma once
// The archives the zip batch commands (Unzip, Zip to EXE, Zip Fix) act on: the selected
// ".ZIP" files and every "*.ZIP" file below the selected folders, found by the work list's
// own walk (fileops/WorkList: files before subfolders, "." folders skipped, links to
// folders not entered).

#include <QString>
#include <QStringList>

namespace ZipWorkList {

// Whether the name's extension, compared ignoring case, is ".zip".
bool isZipName(const QString& path);

// The file name of path without its extension ("backup" for "/a/backup.zip"; a name
// whose only dot leads it is kept whole).
QString stem(const QString& path);

// The archives among the files the work list's walk collected, in their order.
QStringList zipFiles(const QStringList& collected);

} // namespace ZipWorkList
