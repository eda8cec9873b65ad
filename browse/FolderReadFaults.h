#pragma once
// A seam in the folder reader for tests: a pause after each name read from a folder, so that
// a test can watch a slow folder (a spinning-up disk, a far network mount) being listed.
// Production code never sets it; with nothing set the reader pays one relaxed load per batch.

#include <chrono>

namespace FolderReadFaults {

// The pause after each name; zero (the default) for none.
void setEntryDelay(std::chrono::microseconds delay);
std::chrono::microseconds entryDelay();

} // namespace FolderReadFaults
