#pragma once
// Writes a file so that a crash, a full disk or a failed write never loses it: the bytes
// go to a temporary file in the same folder, are flushed to the disk, take the old file's
// mode bits and owner, and only then replace the file by a rename. With a backup, the old
// bytes become the backup (name with its extension replaced by "BAK") first, by a hard
// link where the file system allows it, so that the file's name never goes missing. A
// symbolic link stays a link: the file it points to is written. A failure leaves the old
// file (and any old backup) as it was and says why.
//
// The write goes through the transfer fault seam (TransferFaults: failWriteAfter,
// writeError, replaceStep), so tests can fail it at any byte.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QString>

class TextFileSaver {
public:
    static ViewerStatus save(const QString& path, const QByteArray& bytes, bool makeBackup);
    // The backup name of path: its extension (or, without one, nothing) replaced by "BAK".
    static QString backupPath(const QString& path);
};
