#include "fileops/FileClipboard.h"

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
    QString root = source.chopped(1);
    QDir dir(root);
    QStringList paths;
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names)
        paths << dir.filePath(name);
    return paths;
}
