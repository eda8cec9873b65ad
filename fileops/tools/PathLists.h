#pragma once
// The path lists and shortcuts of the File Tools: the lines of a new text file of paths, the
// file itself (a free "Newtext" name in the list's folder), and a shortcut to one item.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace PathLists {

// Each line followed by a line break.
QString lines(const QStringList& items);

// Writes content into a new file in folder named "Newtext.txt", or the first free of
// "Newtext0.txt", "Newtext1.txt", ...: written to a temporary file that takes the free name
// only when complete, never replacing a file. The path made, empty with *error.
QString createNewTextFile(const QString& folder, const QByteArray& content, QString* error);

// A shortcut to target (a file or folder, a trailing "/" ignored) in folder, named after
// target's name without its extension; an existing shortcut of that name is replaced. The
// name is the one shown for target, so a name that is not UTF-8 gives a readable shortcut
// whose link still reaches the very bytes. The message for the user when it failed:
// "Shortcut for " + target + " failed.", empty on success.
QString makeShortcut(const QString& target, const QString& folder);

} // namespace PathLists
