// Lists of links: any bytes give a list of non-empty trimmed lines, never a crash.
#include "internet/RipAddress.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& link : RipAddress::linksIn(bytes)) {
        if (link.isEmpty() || link != link.trimmed())
            std::abort();
        (void)RipAddress::savedName(link, QStringLiteral("cip"));
        (void)RipAddress::lastDigitRun(link);
    }
    return 0;
}
