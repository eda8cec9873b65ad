#include "fileops/WorkList.h"

#include <QDir>
#include <QFileInfo>

namespace {

void collectFolder(const QString& folder, QStringList& files)
{
    QDir dir(folder);
    const QFileInfoList fileInfos = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& info : fileInfos) {
        if (info.isFile())
            files << info.absoluteFilePath();
    }
    const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& info : folders) {
        if (!info.fileName().startsWith(QLatin1Char('.')) && !info.isSymLink())
            collectFolder(info.absoluteFilePath(), files);
    }
}

} // namespace

QStringList CollectSelectedFiles(const QList<ListEntry>& rows, bool wholeList)
{
    QStringList files;
    for (const ListEntry& row : rows) {
        if (row.parent || (!wholeList && !row.selected))
            continue;
        const QFileInfo info(row.fullPath);
        if (info.isFile())
            files << row.fullPath;
        else if (info.isDir())
            collectFolder(row.fullPath, files);
    }
    return files;
}
