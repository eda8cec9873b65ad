#include "platform/CdDrives.h"

#include <QDir>
#include <QFile>

#include <algorithm>

QList<CdDrive> ListCdDrives(const QString& sysBlock)
{
    QList<std::pair<int, CdDrive>> found;
    const QStringList names = QDir(sysBlock).entryList({QStringLiteral("sr*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& name : names) {
        bool ok = false;
        const int number = name.mid(2).toInt(&ok);
        if (!ok || number < 0)
            continue;
        QFile size(sysBlock + QLatin1Char('/') + name + QStringLiteral("/size"));
        const bool hasDisc = size.open(QIODevice::ReadOnly) && size.read(32).trimmed().toLongLong() > 0;
        found.append({number, CdDrive{QStringLiteral("/dev/") + name, hasDisc}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<CdDrive> drives;
    for (const auto& entry : found)
        drives << entry.second;
    return drives;
}
