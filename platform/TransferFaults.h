#pragma once
// A seam in the copy routine for tests: makes a write or a read fail with a chosen error after
// a number of bytes, or runs a hook before each item (to make a source vanish), after each
// chunk of a file's bytes (to look at the target mid-copy) or at each step of replacing an
// existing file (to see that the new bytes are on disk before the old file goes). Production
// code never sets it; with nothing set the copy routine pays one branch per chunk.

#include <QString>

#include <cstdint>
#include <functional>

struct TransferFaults {
    std::int64_t failWriteAfter = -1; // bytes of a file written before the write fails
    int writeError = 0;               // errno of that failure (ENOSPC, EIO, ...)
    std::int64_t failReadAfter = -1;  // bytes of a file read before the read fails
    int readError = 0;
    std::function<void(const QString& source)> beforeItem; // called before each item is copied
    std::function<void(std::int64_t written)> afterChunk;  // called after each chunk of a file's bytes
    // Called with "sync" once a replacing file's bytes are flushed and with "rename" just
    // before it is renamed over the existing file.
    std::function<void(const char* step)> replaceStep;

    bool any() const { return failWriteAfter >= 0 || failReadAfter >= 0 || beforeItem || afterChunk || replaceStep; }

    // Whether any fault is set (cheap: checked once per file).
    static bool active();
    static TransferFaults current();
    static void set(const TransferFaults& faults);
    static void clear();
    // Reports a step of a replace to replaceStep when one is set.
    static void noteReplaceStep(const char* step);
};
