#pragma once
// A new file written whole before anything may rename it into place: the file tools' way of
// making or rewriting a file without leaving half of one behind.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace TemporaryFile {

// Writes content into a new file named prefix + six random characters (prefix: a path in
// the target's folder), with mode, flushed to disk. Its path; empty with *error, and
// nothing left behind, when it could not be written.
QByteArray write(const QByteArray& prefix, const QByteArray& content, mode_t mode, QString* error);

} // namespace TemporaryFile
