#include "fileops/WorkList.h"

#include "platform/LocalFiles.h"

namespace {

void collectFolder(const QString& folder, QStringList& files)
{
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QStringList names = LocalFiles::entryNames(folder);
    for (const QString& name : names) {
        if (LocalFiles::isFile(base + name))
            files << base + name;
    }
    for (const QString& name : names) {
        const QString path = base + name;
        if (!name.startsWith(QLatin1Char('.')) && !LocalFiles::isSymLink(path) && LocalFiles::isDir(path))
            collectFolder(path, files);
    }
}

} // namespace

QStringList CollectSelectedFiles(const QList<ListEntry>& rows, bool wholeList)
{
    QStringList files;
    for (const ListEntry& row : rows) {
        if (row.parent || (!wholeList && !row.selected))
            continue;
        if (LocalFiles::isFile(row.fullPath))
            files << row.fullPath;
        else if (LocalFiles::isDir(row.fullPath))
            collectFolder(row.fullPath, files);
    }
    return files;
}
