#include "platform/Shell.h"

#include <QSaveFile>
#include <QStandardPaths>

Status ClearRecentDocuments()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/recently-used.xbel");
    // An empty list in the format every desktop reads, swapped in whole.
    QSaveFile file(path);
    const QByteArray empty = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<xbel version=\"1.0\"\n"
                             "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
                             "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
                             ">\n</xbel>\n";
    if (file.open(QIODevice::WriteOnly) && file.write(empty) == empty.size() && file.commit())
        return Status();
    return Status::failure(QStringLiteral("Recent documents"), file.errorString());
}
