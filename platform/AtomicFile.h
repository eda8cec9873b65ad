#pragma once
// The one way the program replaces a whole file it writes (the settings, a saved list):
// the bytes go to a temporary file beside the target, are flushed to disk and renamed over
// it, then the folder is flushed so that the rename itself survives a crash. The old file
// stays as it was until the new one is complete; on failure no temporary file is left.

#include "platform/Status.h"

#include <QByteArray>

#include <sys/types.h>

class AtomicFile {
public:
    // path: the file's bytes (FileName::encode); missing folders above it are made. mode:
    // the new file's permissions. A failure says "cannot write <path>: <reason>".
    static Status replace(const QByteArray& path, const QByteArray& bytes, mode_t mode = 0600);
    // The same for a file that must be new: an entry already at path is never replaced, and
    // the failure then says "<path> already exists".
    static Status createNew(const QByteArray& path, const QByteArray& bytes, mode_t mode = 0600);

private:
    static Status write(const QByteArray& path, const QByteArray& bytes, mode_t mode, bool mayReplace);
};
