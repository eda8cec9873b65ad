#include "fileops/FileClipboard.h"

#include "platform/LocalFiles.h"
#include "platform/PathText.h"

#include <QDir>

namespace {
const QString kContents = QStringLiteral("/*");
}

void FileClipboard::setListSource(const QStringList& paths)
{
    m_listPaths = paths;
    m_listSource = paths;
}

void FileClipboard::clearListSource()
{
    m_listPaths.clear();
    m_listSource.clear();
}

void FileClipboard::setTreeSource(const QString& folder, bool driveRoot)
{
    QString path = PathText::withoutTrailingSlash(folder);
    if (driveRoot)
        path += path == QLatin1String("/") ? QStringLiteral("*") : kContents;
    m_treeSource = path;
}

bool FileClipboard::isDriveContents(const QString& source)
{
    return source.endsWith(QLatin1Char('*'));
}

QStringList FileClipboard::expandTreeSource(const QString& source)
{
    if (!isDriveContents(source))
        return {source};
    const QString root = source.chopped(1); // ends with "/"
    QStringList paths;
    for (const QString& name : LocalFiles::entryNames(root))
        paths << root + name;
    return paths;
}
