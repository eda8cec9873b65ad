#include "archive/tools/ZipWorkList.h"

bool ZipWorkList::isZipName(const QString& path)
{
    return path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

QStringList ZipWorkList::zipFiles(const QStringList& collected)
{
    QStringList archives;
    for (const QString& path : collected) {
        if (isZipName(path))
            archives << path;
    }
    return archives;
}
