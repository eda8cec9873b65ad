#include "browse/SubfolderReader.h"

#include "browse/FolderReader.h"
#include "platform/FileName.h"

#include <QCollator>

#include <dirent.h>

#include <algorithm>

namespace SubfolderReader {

QStringList subfolders(const QString& folder, TFileType folderType)
{
    QStringList names;
    FolderReader reader(folder, FolderReader::Scope::FoldersOnly);
    reader.read([&](const FolderEntry& entry) {
        if (FileAttributes::passesFolderFilter(entry.attributes, folderType))
            names.append(FileName::decode(entry.name, qsizetype(entry.nameLength)));
        return true;
    });
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return names;
}

bool hasSubfolder(const QString& folder, TFileType folderType)
{
    bool found = false;
    FolderReader reader(folder, FolderReader::Scope::FoldersOnly);
    reader.read([&](const FolderEntry& entry) {
        found = FileAttributes::passesFolderFilter(entry.attributes, folderType);
        return !found;
    });
    return found;
}

bool isShownSubfolder(const QString& parent, const QString& name, TFileType folderType)
{
    FolderReader reader(parent, FolderReader::Scope::FoldersOnly);
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || !reader.open())
        return false;
    const QByteArray bytes = FileName::encode(name);
    FolderNames names;
    names.append(bytes.constData(), size_t(bytes.size()), DT_UNKNOWN);
    const uint32_t index = 0;
    FolderEntry entry;
    reader.examine(names, &index, 1, &entry);
    return entry.name && entry.isDirectory && FileAttributes::passesFolderFilter(entry.attributes, folderType);
}

} // namespace SubfolderReader
