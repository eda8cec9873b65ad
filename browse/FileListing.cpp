#include "browse/FileListing.h"

#include "browse/FileSorter.h"
#include "browse/FileTypeNames.h"
#include "browse/FolderReader.h"
#include "platform/FileName.h"
#include "platform/PathText.h"

#include <QFile>

void FileListing::clear()
{
    m_table.clear();
    m_order.clear();
    m_order.shrink_to_fit();
    m_mountPoints.clear();
    m_directory.clear();
    m_driveView = false;
}

void FileListing::startFolder(const QString& directory, const ListingOptions& options)
{
    clear();
    m_directory = PathText::withTrailingSlash(directory);
    const FileMask mask(options.mask);
    if (options.showFolders && options.parentDirEnabled && m_directory != QLatin1String("/")) {
        TFileInfo parent;
        parent.Name = QStringLiteral("..");
        parent.kind = ItemKind::Parent;
        parent.Attributes = FileAttribute::Directory;
        append(std::move(parent));
    }
}

bool FileListing::admits(bool isDirectory, uint32_t attributes, const QString& name, const ListingOptions& options,
                         const FileMask& mask)
{
    const bool wanted = isDirectory ? options.showFolders : mask.matches(name);
    return wanted && FileAttributes::passesFileFilter(attributes, options.fileType);
}

TFileInfo FileListing::recordOf(const FolderEntry& entry, QStringView name)
{
    TFileInfo item;
    item.kind = entry.isDirectory ? ItemKind::Folder : ItemKind::File;
    item.Attributes = entry.attributes;
    item.Size = entry.size;
    item.hasTime = entry.hasTime;
    item.mtimeSeconds = entry.mtimeSeconds;
    item.mtimeNanoseconds = entry.mtimeNanoseconds;
    item.Name = name;
    return item;
}

bool FileListing::listFolder(const QString& directory, const ListingOptions& options, const Progress& progress)
{
    startFolder(directory, options);
    const FileMask mask(options.mask);
    bool abandoned = false;
    FolderReader reader(m_directory);
    const bool read = reader.read([&](const FolderEntry& entry) {
        const QString name = FileName::decode(entry.name, qsizetype(entry.nameLength));
        if (admits(entry.isDirectory, entry.attributes, name, options, mask))
            append(recordOf(entry, name));
        if (progress && !progress(count(), name)) {
            abandoned = true;
            return false;
        }
        return true;
    });
    if (!read || abandoned) {
        const QString directory = m_directory;
        clear();
        m_directory = directory;
        return false;
    }
    return true;
}

void FileListing::append(TFileInfo&& item)
{
    m_order.push_back(m_table.size());
    m_table.push_back(std::move(item));
}

void FileListing::setDrives(std::vector<TFileInfo> drives, QStringList mountPoints)
{
    clear();
    m_directory = myComputer();
    m_driveView = true;
    for (TFileInfo& drive : drives)
        append(std::move(drive));
    m_mountPoints = std::move(mountPoints);
}

void FileListing::sort(int column, bool ascending, FileTypeNames& typeNames)
{
    if (!isSortable())
        return;
    if (column == FileSorter::TypeColumn) {
        for (int row = 0; row < count(); ++row)
            typeNameOf(row, typeNames);
    }
    sort(column, ascending);
}

void FileListing::sort(int column, bool ascending, size_t top)
{
    if (isSortable())
        FileSorter::sort(m_table, m_order, column, ascending, top);
}

const QString& FileListing::typeNameOf(int row, FileTypeNames& typeNames)
{
    TFileInfo& item = at(row);
    if (item.TypeName.isNull() && item.kind != ItemKind::Drive && item.kind != ItemKind::Parent)
        item.TypeName = typeNames.typeName(item.Name.toString(), item.isFolder());
    return item.TypeName;
}

std::vector<int> FileListing::rowsOfRecords() const
{
    std::vector<int> rows(m_table.size(), -1);
    for (size_t row = 0; row < m_order.size(); ++row)
        rows[m_order[row]] = int(row);
    return rows;
}

QString FileListing::fullPath(int row) const
{
    const TFileInfo& item = at(row);
    if (item.kind == ItemKind::Drive)
        return m_mountPoints.value(qsizetype(m_order[size_t(row)]));
    return m_directory + item.Name.view();
}

QString FileListing::kindText(ItemKind kind)
{
    switch (kind) {
    case ItemKind::File: return QStringLiteral("file");
    case ItemKind::Folder:
    case ItemKind::Parent: return QStringLiteral("dir");
    case ItemKind::Drive: return QStringLiteral("drv");
    }
    return QString();
}
