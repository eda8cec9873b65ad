#pragma once
// Emptying the temporary folder ($TMPDIR, else /tmp) without harming anything else:
//
// - A folder that cannot be a temporary folder is refused before anything is touched: "/",
//   the home folder or a folder above it, an XDG user or base folder (or one above them),
//   anything that is not a directory. An unset or mistaken TMPDIR would otherwise delete the
//   user's own files for good.
// - The walk never follows a link (openat with O_NOFOLLOW, unlinkat on the entry itself) and
//   never leaves the folder's volume.
// - Only the user's own entries go. Sockets, FIFOs and devices stay (ssh-agent, tmux and the
//   session's sockets live there), and so does every file or folder a running process of the
//   user holds open or works in: on Linux such a file would just lose its name.
//
// What is kept for those reasons is not a failure; an own entry that could not be deleted is.

#include "platform/Status.h"

#include <QString>

#include <cstdint>
#include <functional>

struct TempCleanCounts {
    std::int64_t deleted = 0; // files, links and folders removed
    std::int64_t kept = 0;    // entries left on purpose (not the user's, in use, special files)
    std::int64_t failed = 0;  // own entries that could not be removed
};

class TempFolderCleaner {
public:
    // $TMPDIR when set, else /tmp.
    static QString temporaryFolder();
    // Success when folder may be emptied; else the reason it is refused, for the user.
    static Status check(const QString& folder);
    // Deletes the folder's contents as described above; the folder itself stays. keepGoing is
    // asked after each entry (false stops the walk). Fails when the folder is refused, or with
    // the first reason an own entry could not be removed (the counts tell how many).
    static Status empty(const QString& folder, TempCleanCounts* counts = nullptr,
                        const std::function<bool()>& keepGoing = {});
};
