// Key files: any bytes give a key file or an invalid one, never a crash; every key listed
// in a section has its value.
#include "viewers/KeyFile.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const KeyFile file = KeyFile::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const QString& section : {QStringLiteral("InternetShortcut"), QStringLiteral("Desktop Entry"),
                                   QStringLiteral("Default Applications")}) {
        for (const QString& key : file.keys(section)) {
            if (!file.contains(section, key))
                std::abort();
        }
    }
    return 0;
}
