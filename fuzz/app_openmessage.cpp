// The "open" message of the single-instance socket: a target that comes out is an absolute
// folder, and it goes back to the same bytes.
#include "app/StartArguments.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const StartTarget target = StartTarget::fromMessage(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (target.isEmpty())
        return 0;
    if (!target.folder.startsWith(QLatin1Char('/')) || StartTarget::fromMessage(target.toMessage()) != target)
        std::abort();
    return 0;
}
