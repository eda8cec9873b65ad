#pragma once
// What each change notice owes the browse panes (the main window's handlers of the change
// watcher), decided from the notice and what the panes show:
//
//   a file made, removed, written, renamed or its attributes changed  list only, when it lies in the listed folder
//   a folder made, removed or renamed                                 its parent's tree node is read again (and the
//                                                                     list, when the parent is listed); full when the
//                                                                     current folder or one of its parents went
//   a folder updated                                                  its tree node read again, the list when listed;
//                                                                     the root (an overflow: anything changed) full
//   a drive or medium added or removed                                full
//   free space changed                                                the caption's figures only
//
// Changes in folders not shown change nothing on screen and owe nothing.

#include "fileops/RefreshOwed.h"
#include "platform/ChangeNotices.h"

namespace ChangeHandlers {

struct Shown {
    QString listFolder;    // with a trailing "/", or "My Computer"
    QString currentFolder; // with a trailing "/"
};

struct Decision {
    RefreshLevel level = RefreshLevel::None;
    QStringList treeFolders;
    bool freeSpace = false; // the drive's free space may have changed

    bool operator==(const Decision&) const = default;
};

Decision decide(const ChangeNotice& notice, const Shown& shown);

} // namespace ChangeHandlers
