#pragma once
// A seam in the copy routine for tests: makes a write or a read fail with a chosen error after
// a number of bytes, or runs a hook before each item (to make a source vanish) or after each
// chunk of a file's bytes (to look at the target mid-copy). Production
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

    bool any() const { return failWriteAfter >= 0 || failReadAfter >= 0 || beforeItem || afterChunk; }

    // Whether any fault is set (cheap: checked once per file).
    static bool active();
    static TransferFaults current();
    static void set(const TransferFaults& faults);
    static void clear();
};
