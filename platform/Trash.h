#pragma once
// The freedesktop Trash: the home trash under $XDG_DATA_HOME/Trash for items on the home's
// file system, and a per-volume trash ($topdir/.Trash/$uid when the administrator made a
// sticky .Trash, else $topdir/.Trash-$uid) for items on other mounts. Each trashed item gets
// an info/<name>.trashinfo with its original path (URL-encoded) and deletion date, so that
// other file managers and `gio` list and restore it.

#include "platform/Status.h"

#include <QDateTime>
#include <QList>
#include <QString>

struct TrashedItem {
    QString trashFolder;   // the trash that holds it (".../Trash")
    QString name;          // its name under files/ and info/ (without ".trashinfo")
    QString originalPath;  // absolute, decoded
    QDateTime deletionDate;
};

class Trash {
public:
    // Moves the item (file, link or whole folder) into the trash of its volume. Fails when no
    // trash can take it (a read-only volume, a volume without a trash folder).
    static Status moveToTrash(const QString& path);

    // The home trash folder ($XDG_DATA_HOME/Trash).
    static QString homeTrash();
    // The trash folders that exist: the home trash and those of the mounted local drives.
    static QStringList trashFolders();
    // Every item in the given trash folder, read from its .trashinfo files (a malformed info
    // file is skipped).
    static QList<TrashedItem> items(const QString& trashFolder);
    // Whether any trash folder holds an item.
    static bool isEmpty();
    // Deletes every item of every trash for good. Fails (with the last reason) when something
    // stayed.
    static Status empty();
    // Deletes every item of one trash folder for good (the same way).
    static Status emptyFolder(const QString& trashFolder);
    // The steps of emptying, for a job that shows each item and stops between them: the
    // names stored under files/, one item deleted for good (its bytes first, its info file
    // last, so that an interruption never leaves an item nobody can see), and the tidying
    // after the items (info files whose item is gone, the size cache).
    static QStringList storedNames(const QString& trashFolder);
    static Status deleteItem(const QString& trashFolder, const QString& name);
    static void tidy(const QString& trashFolder);
    // Moves an item back to its original path (which must be free).
    static Status restore(const TrashedItem& item);

    // The .trashinfo text and its reading, exposed for the parser's tests and fuzz target.
    static QByteArray infoText(const QString& pathKey, const QDateTime& deletionDate);
    static bool parseInfo(const QByteArray& text, QString* pathKey, QDateTime* deletionDate);
};
