#include "browse/SubfolderReader.h"

#include "browse/FolderReader.h"
#include "platform/FileName.h"

#include <QCollator>

#include <algorithm>

namespace SubfolderReader {

QList<Subfolder> subfolders(const QString& folder, TFileType folderType)
{
    QList<Subfolder> folders;
    FolderReader reader(folder, FolderReader::Scope::FoldersOnly);
    reader.read([&](const FolderEntry& entry) {
        if (FileAttributes::passesFolderFilter(entry.attributes, folderType))
            folders.append({FileName::decode(entry.name, qsizetype(entry.nameLength)), entry.attributes});
        return true;
    });
    std::sort(folders.begin(), folders.end(), [](const Subfolder& a, const Subfolder& b) { return isBefore(a.name, b.name); });
    return folders;
}

bool isBefore(const QString& a, const QString& b)
{
    thread_local const QCollator collator = [] {
        QCollator made;
        made.setCaseSensitivity(Qt::CaseSensitive);
        return made;
    }();
    return collator.compare(a, b) < 0;
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

std::optional<uint32_t> shownSubfolder(const QString& parent, const QString& name, TFileType folderType)
{
    const std::optional<uint32_t> attributes = FolderReader::entryAttributes(parent, name);
    if (!attributes || !FileAttributes::passesFolderFilter(*attributes, folderType))
        return std::nullopt;
    return attributes;
}

} // namespace SubfolderReader
