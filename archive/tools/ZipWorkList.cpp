#include "archive/tools/ZipWorkList.h"

#include "platform/PathText.h"

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

QString ZipWorkList::stem(const QString& path)
{
    const QString name = PathText::nameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}
