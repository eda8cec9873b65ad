// Playlist files: every line is a name from outside, resolved against a folder.
#include "media/playlist/M3uFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList paths = media::M3uFile::parse(bytes, QStringLiteral("/lists"));
    for (const QString& path : paths) {
        if (path.isEmpty())
            __builtin_trap();
    }
    return 0;
}
