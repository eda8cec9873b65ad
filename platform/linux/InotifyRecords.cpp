#include "platform/linux/InotifyRecords.h"

#include <cstring>

namespace {

uint32_t hostU32(const char* at)
{
    uint32_t value;
    std::memcpy(&value, at, sizeof value); // the kernel writes in the machine's own order
    return value;
}

void appendU32(QByteArray& out, uint32_t value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

namespace InotifyRecords {

QList<InotifyRecord> parse(QByteArrayView bytes, qsizetype* consumed)
{
    QList<InotifyRecord> records;
    qsizetype at = 0;
    while (bytes.size() - at >= kHeaderSize) {
        const char* head = bytes.data() + at;
        const uint32_t length = hostU32(head + 12);
        if (length > uint64_t(bytes.size() - at - kHeaderSize))
            break;
        InotifyRecord record;
        record.wd = int(hostU32(head));
        record.mask = hostU32(head + 4);
        record.cookie = hostU32(head + 8);
        const char* name = head + kHeaderSize;
        const void* nul = std::memchr(name, 0, length);
        record.name = QByteArray(name, nul ? static_cast<const char*>(nul) - name : qsizetype(length));
        records.append(std::move(record));
        at += kHeaderSize + qsizetype(length);
    }
    if (consumed)
        *consumed = at;
    return records;
}

QByteArray encode(const InotifyRecord& record)
{
    // The name with at least one NUL, padded to a multiple of 16 as the kernel does.
    const qsizetype length = record.name.isEmpty() ? 0 : (record.name.size() / 16 + 1) * 16;
    QByteArray out;
    appendU32(out, uint32_t(record.wd));
    appendU32(out, record.mask);
    appendU32(out, record.cookie);
    appendU32(out, uint32_t(length));
    out.append(record.name);
    out.append(QByteArray(length - record.name.size(), '\0'));
    return out;
}

} // namespace InotifyRecords
