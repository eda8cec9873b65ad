#pragma once
// Moving one file to a new name without ever replacing what is there: renameat2 with
// RENAME_NOREPLACE (a link and an unlink where the file system refuses the flag), and across
// file systems the engine's copy into a new file, checked against the source's size before
// the source is removed. A failure leaves the source where it was and no partial target.

#include <QByteArray>
#include <QString>

namespace NoReplaceMove {

enum class Outcome { Done, Exists, Failed };

// Moves src to dst; Exists when dst is taken (nothing changed), Failed with *error.
Outcome move(const QByteArray& src, const QByteArray& dst, QString* error);

// Moves path aside to a free name beside it ("name~1", "name~2", ...); the new path, empty
// with *error when it could not be moved.
QByteArray moveAside(const QByteArray& path, QString* error);

} // namespace NoReplaceMove
