#pragma once
// Waits for the browse panes' workers: a test that opens a folder waits for its rows (or a
// tree node for its subfolders) as a user waits for them to appear, with the event loop
// running.

#include "browse/TFileViewFol.h"
#include "browse/FolderReadFaults.h"
#include "browse/TPathViewFol.h"

#include <QTest>

inline bool waitForList(const TFileViewFol& list, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return !list.isLoading(); }, timeoutMs);
}

inline bool waitForTree(const TPathViewFol& tree, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return !tree.isLoading(); }, timeoutMs);
}

// Folders answer slowly while one of these lives: each name read costs `delay`.
class SlowFolderReads {
public:
    explicit SlowFolderReads(std::chrono::microseconds delay) { FolderReadFaults::setEntryDelay(delay); }
    ~SlowFolderReads() { FolderReadFaults::setEntryDelay(std::chrono::microseconds(0)); }
    SlowFolderReads(const SlowFolderReads&) = delete;
    SlowFolderReads& operator=(const SlowFolderReads&) = delete;
};
