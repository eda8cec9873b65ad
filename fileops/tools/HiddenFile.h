#pragma once
// Changes a folder's ".hidden" file, the list of names that the common Linux file managers
// (and this program's list) show as hidden. The file is read with the same size cap as the
// list reads it, rewritten through a temporary file in the folder that is flushed and
// renamed over it, so a crash leaves the old list or the new one, never half of either.

#include <QByteArray>
#include <QString>

namespace HiddenFile {

// The file's new bytes with name listed (once, at the end when it was not) or not listed
// (every line naming it dropped, "\r\n" lines included); the other lines stay as they were.
// Equal to content when nothing changes. The content comes from the folder, so it is taken
// as any bytes at all.
QByteArray edited(const QByteArray& content, const QByteArray& name, bool listed);

// Lists name in folder's ".hidden" or takes it out; true when the file says so afterwards
// (also when nothing had to change). False with *error when the file cannot be read (not a
// regular file, too big) or written, or name cannot stand on a line of its own.
bool setListed(const QByteArray& folder, const QByteArray& name, bool listed, QString* error);

} // namespace HiddenFile
