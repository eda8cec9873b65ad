// Both clipboard file-list readers over the same bytes; every path they give must be an
// absolute local path without NUL and within the path length limit.
#include "fileops/FileDropMime.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList paths = FileDropMime::parseUriList(bytes);
    paths += FileDropMime::parseGnomeCopiedFiles(bytes).paths;
    for (const QString& path : paths) {
        if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)) || path.toUtf8().size() > FileDropMime::kMaxPathBytes)
            std::abort();
    }
    return 0;
}
