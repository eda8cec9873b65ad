#include "fileops/FileClipboard.h"

#include "platform/PathText.h"

#include <QDir>

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
    m_treeSource = {PathText::withoutTrailingSlash(folder), driveRoot};
}

QStringList FileClipboard::expandTreeSource(const TreeSource& source)
{
    if (!source.driveContents)
        return {source.folder};
    QDir dir(source.folder);
    QStringList paths;
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names)
        paths << dir.filePath(name);
    return paths;
}
