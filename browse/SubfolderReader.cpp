#include "browse/SubfolderReader.h"

#include "browse/FolderReader.h"
#include "platform/FileName.h"

#include <QCollator>

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

} // namespace SubfolderReader
