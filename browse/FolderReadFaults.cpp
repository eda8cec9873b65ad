#include "browse/FolderReadFaults.h"

#include <atomic>

namespace {

std::atomic<long long> delayMicroseconds{0};

} // namespace

namespace FolderReadFaults {

void setEntryDelay(std::chrono::microseconds delay)
{
    delayMicroseconds.store(delay.count(), std::memory_order_relaxed);
}

std::chrono::microseconds entryDelay()
{
    return std::chrono::microseconds(delayMicroseconds.load(std::memory_order_relaxed));
}

} // namespace FolderReadFaults
