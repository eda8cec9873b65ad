#pragma once
// Sets what the attribute tool asks of one file, in the program's Linux mapping: the
// modification time (utimensat on the path, never by opening the file, which may be a FIFO
// or a device), then read-only (the owner's write bit), hidden (the folder's ".hidden" file;
// a name that begins with "." is hidden by its name and cannot be un-hidden), archive
// (Samba's user.DOSATTRIB extended attribute, written only where it must differ from what a
// regular file reads as) and system (which no regular file can be). A link is never
// followed for the mode or the extended attribute.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

struct AttributeRequest {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
};

class FileAttributeSetter {
public:
    // The wall-clock time in zone as seconds since the epoch, truncated to an even second
    // (the two-second resolution the tool stores). A time that occurs twice (the hour after
    // summer time ends) is taken at its first occurrence; a time that does not occur (the
    // hour skipped when it begins) is read with the offset before the change, which lands
    // as far after the gap as it pointed into it.
    static qint64 utcSeconds(const QDateTime& wallClock, const QTimeZone& zone);

    // Sets the modification time of path (following a link, as the user means the file).
    static bool setModified(const QByteArray& path, qint64 utcSeconds, QString* error);

    // Sets the attributes; false with *error naming the first that could not be set.
    static bool apply(const QByteArray& path, const AttributeRequest& request, QString* error);
};
