#pragma once
// Where the web pane's engine keeps what it learns while browsing: its data (cookies,
// visited links, site storage) under $XDG_DATA_HOME and its page cache under
// $XDG_CACHE_HOME, both in the program's own QuorVel/Folvane3/WebEngine folders. The pane
// creates them on its first use; the clean-up empties them on disk when the pane has not
// been used in this run (a running engine is asked through its own calls instead).

#include "platform/Status.h"

#include <QString>

class WebProfileFolders {
public:
    static QString dataFolder();
    static QString cacheFolder();
    // Deletes everything in the cache folder (a missing folder is already clean).
    static Status clearCache();
    // Deletes everything in the data folder: history, visited links and cookies.
    static Status clearHistory();
};
