// Mount table and fstab text: the first half of the input is read as mountinfo, the rest as
// fstab. Every drive must come out with an absolute root, and "/" first.
#include "platform/linux/MountTable.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    DriveSources sources;
    sources.sysClassBlock = QStringLiteral("/nonexistent/sys");
    sources.diskByLabel = QStringLiteral("/nonexistent/by-label");
    const QList<DriveInfo> drives = MountTable(sources).drivesFrom(bytes.left(bytes.size() / 2), bytes.mid(bytes.size() / 2));
    if (drives.isEmpty() || drives.first().root != QLatin1String("/"))
        std::abort();
    for (const DriveInfo& drive : drives) {
        if (!drive.root.startsWith(QLatin1Char('/')))
            std::abort();
    }
    return 0;
}
