// .trashinfo files found in a Trash folder: parsed, and what parses must write back the same.
#include "platform/Trash.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString path;
    QDateTime date;
    if (!Trash::parseInfo(bytes, &path, &date))
        return 0;
    QString again;
    QDateTime dateAgain;
    if (!date.isValid())
        date = QDateTime(QDate(2026, 1, 1), QTime(0, 0));
    if (!Trash::parseInfo(Trash::infoText(path, date), &again, &dateAgain) || again != path)
        std::abort();
    return 0;
}
