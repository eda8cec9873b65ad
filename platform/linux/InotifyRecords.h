#pragma once
// The records the kernel's inotify interface returns from read(): a fixed header (watch
// descriptor, event mask, move cookie, name length) followed by the entry's name padded with
// NULs. Read with bounds checks: a record whose header or name runs past the bytes read ends
// the parse, and the bytes it covered are reported as not consumed.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>

struct InotifyRecord {
    int wd = -1;
    uint32_t mask = 0;
    uint32_t cookie = 0;
    QByteArray name; // the entry's name inside the watched folder; empty for the folder itself
};

namespace InotifyRecords {

inline constexpr qsizetype kHeaderSize = 16;

// The complete records at the start of bytes; consumed (when given) gets how many bytes they
// took, so a caller can keep the rest for the next read.
QList<InotifyRecord> parse(QByteArrayView bytes, qsizetype* consumed = nullptr);

// One record as the kernel writes it (tests build input with it).
QByteArray encode(const InotifyRecord& record);

} // namespace InotifyRecords
