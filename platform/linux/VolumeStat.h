#pragma once
// statvfs with a time-out. A network or FUSE mount whose server is gone can block statvfs for
// minutes; the question is asked on a helper thread and the caller waits at most the time-out.
// While a question to a mount is still unanswered, later questions to it fail at once instead
// of piling up more blocked threads.

#include "platform/Drives.h"

#include <sys/statvfs.h>

#include <optional>

namespace VolumeStat {

// The statvfs answer, or nullopt when the call failed or did not answer in time (timed only).
std::optional<struct statvfs> query(const QString& path, bool timed);

} // namespace VolumeStat
