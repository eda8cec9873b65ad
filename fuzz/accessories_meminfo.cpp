// /proc/meminfo text: any figures that come out are within their bounds.
#include "accessories/SystemFacts.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const MemoryFigures m = MemoryFigures::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (m.valid && (m.total <= 0 || m.available < 0 || m.virtualAvailable < 0 || m.loadPercent < 0 || m.loadPercent > 100))
        std::abort();
    return 0;
}
