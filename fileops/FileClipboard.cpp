#include "fileops/FileClipboard.h"

#include "platform/LocalFiles.h"
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
    const QString root = PathText::withTrailingSlash(source.folder);
    QStringList paths;
    for (const QString& name : LocalFiles::entryNames(root))
        paths << root + name;
    return paths;
}
