#pragma once
// One change the folder watcher saw in a watched folder, in the program's terms: an entry
// made, removed, renamed (both paths, paired from the two halves the kernel reports), its
// attributes changed, written and closed; the watched folder itself removed, moved away or
// unmounted; the kernel's queue overflowed (anything may have changed); or a polled folder
// found changed (a folder beyond the watch limit).

#include "platform/ChangeNotices.h"

#include <QString>

struct FolderEvent {
    enum class Kind { Created, Deleted, Renamed, AttributesChanged, Written, FolderGone, Unmounted, Overflow, Polled };
    Kind kind = Kind::Overflow;
    QString path;  // the entry (or the folder for FolderGone, Unmounted and Polled); empty for Overflow
    QString path2; // the new path of Renamed
    bool isFolder = false;

    bool operator==(const FolderEvent&) const = default;

    // The notice the event becomes on the change notice bus. An overflow announces the root
    // folder as updated: nothing can be known about what changed.
    ChangeNotice toNotice() const;
    // "created", "deleted", "renamed", ... (fvtool watch prints it).
    static const char* kindName(Kind kind);
};
