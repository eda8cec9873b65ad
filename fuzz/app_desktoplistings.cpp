// The listings of "gio mount -l" and xrandr: any bytes give addresses and modes, never a crash.
#include "app/DesktopPanels.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& share : DesktopPanels::mountedShares(bytes)) {
        if (share.isEmpty())
            std::abort();
    }
    const QStringList modes = DesktopPanels::displayModes(bytes);
    if (modes.size() != QSet<QString>(modes.begin(), modes.end()).size())
        std::abort();
    return 0;
}
