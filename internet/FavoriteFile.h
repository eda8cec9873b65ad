#pragma once
// Add to Favorites: the internet shortcut that keeps a page's address in the favourites
// folder, named after the page's title. A title comes from the page, so it is made safe
// as a file name first: no "/", NUL or control characters, not "." or "..", and short
// enough for any file system (the name with ".url" stays under 255 bytes).

#include "platform/Status.h"

#include <QString>

class FavoriteFile {
public:
    // The longest name (without ".url") in UTF-8 bytes.
    static constexpr int kMaxNameBytes = 200;

    // The file name (with ".url") for a page with title at address; an unusable title gives
    // the address's host name instead. Fails when neither gives a name.
    static Result<QString> nameFor(const QString& title, const QString& address);
    // title made safe as a file or folder name; empty when nothing usable is left.
    static QString safeName(const QString& title);
    // Writes the shortcut for address at path through a temporary file renamed into place
    // (an existing file is replaced only when that is complete).
    static Status write(const QString& path, const QString& address);
    // Writes a new shortcut for address at path the same way, but never over an existing
    // entry; added (seconds since 1970, when above 0) becomes the file's modification time.
    static Status create(const QString& path, const QString& address, qint64 added);
};
