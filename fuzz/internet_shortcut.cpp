// Internet shortcuts and favourite names: the address read from any bytes, the rules it
// passes, the menu caption and the file name made from the same bytes as a page title.
#include "internet/FavoriteFile.h"
#include "internet/FavoritesFolder.h"
#include "internet/InternetShortcut.h"
#include "internet/WebAddress.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString address = InternetShortcut::addressFromText(bytes);
    WebAddress::isAllowed(address);
    // A shortcut written for an address reads back as the same address.
    const QByteArray text = InternetShortcut::text(address);
    if (!text.isEmpty() && InternetShortcut::addressFromText(text) != address.trimmed())
        std::abort();
    const QString title = QString::fromUtf8(bytes);
    if (FavoritesFolder::caption(title).size() > FavoritesFolder::kDefaultMaxWidth + 3)
        std::abort();
    const Result<QString> name = FavoriteFile::nameFor(title, address);
    if (name) {
        const QString file = name.value();
        if (file.contains(QLatin1Char('/')) || file.contains(QChar(0)) || file.toUtf8().size() > 255 || file == QLatin1String(".url")
            || file == QLatin1String("..url"))
            std::abort();
    }
    return 0;
}
