// inotify records as read() returns them, fed through the record reader and the rename
// pairing: the reader must never read past the input nor report more bytes than it was
// given, and every event must name a path inside the watched folder.
#include "platform/linux/FolderEventPairer.h"
#include "platform/linux/InotifyRecords.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype consumed = -1;
    const QList<InotifyRecord> records = InotifyRecords::parse(bytes, &consumed);
    if (consumed < 0 || consumed > bytes.size())
        std::abort();
    FolderEventPairer pairer;
    qint64 now = 0;
    for (const InotifyRecord& record : records)
        pairer.add(record, QStringLiteral("/w"), now++);
    for (const FolderEvent& event : pairer.take(now + FolderEventPairer::kMoveWaitMs)) {
        if (event.kind != FolderEvent::Kind::Overflow && !event.path.startsWith(QLatin1String("/w")))
            std::abort();
    }
    if (pairer.nextExpiry() >= 0)
        std::abort(); // everything waited long enough
    return 0;
}
