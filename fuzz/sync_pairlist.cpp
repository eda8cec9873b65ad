// The pair list reader over any bytes: every line it keeps is a usable path (no NUL, shorter
// than a path can be, no line break left in it) and it never keeps more lines than its limit.
#include "sync/SyncPairLists.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<QByteArray> lines = SyncPairLists::parseLines(bytes);
    if (lines.size() > SyncPairLists::kMaxPairs)
        std::abort();
    for (const QByteArray& line : lines) {
        if (line.contains('\0') || line.contains('\n') || line.size() >= PATH_MAX)
            std::abort();
    }
    return 0;
}
