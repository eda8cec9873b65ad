#pragma once
// The file list's item table: the entries of one folder that pass the list's filters, or
// the drives of the computer ("My Computer"). Reads the folder in one pass (FolderReader),
// keeps plain records (TFileInfo) and sorts them; the list view asks for rows on demand.

#include "browse/FileAttributes.h"
#include "platform/FileMask.h"
#include "browse/FileTable.h"
#include "browse/TFileInfo.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <vector>

class FileTypeNames;
struct FolderEntry;

struct ListingOptions {
    QString mask = QStringLiteral("*.*");
    TFileType fileType = TFileAttr::ftReadOnly | TFileAttr::ftHidden | TFileAttr::ftSystem
        | TFileAttr::ftArchive | TFileAttr::ftNormal;
    bool showFolders = false;
    bool parentDirEnabled = true;
};

class FileListing {
public:
    // The path text that stands for the computer itself: the drive view.
    static QString myComputer() { return QStringLiteral("My Computer"); }

    // Called after every entry examined (also those the filters drop) with the number of
    // records so far and the entry's name; returning false abandons the listing.
    using Progress = std::function<bool(int count, const QString& name)>;

    // Reads `directory` (a trailing "/" is added). Returns false when the folder cannot be
    // read or the listing was abandoned; the table is then empty.
    bool listFolder(const QString& directory, const ListingOptions& options, const Progress& progress = {});

    // Building a table in steps (the listing worker): start empty on the folder, with the
    // parent entry where the options ask for it, then append the records the options admit.
    void startFolder(const QString& directory, const ListingOptions& options);
    // Whether the list shows an entry of this kind, name and attributes.
    static bool admits(bool isDirectory, uint32_t attributes, const QString& name, const ListingOptions& options,
                       const FileMask& mask);
    // A folder or file record with the entry's details.
    static TFileInfo recordOf(const FolderEntry& entry, QStringView name);
    // Adds a record as the last row.
    void append(TFileInfo&& item);
    // Rows follow `order` (a permutation of the records), as a sort left them.
    void setOrder(std::vector<uint32_t> order) { m_order = std::move(order); }
    const std::vector<uint32_t>& order() const { return m_order; }
    // Takes rows out of the list (their records stay, unlisted).
    void removeRows(int first, int count) { m_order.erase(m_order.begin() + first, m_order.begin() + first + count); }
    uint32_t recordCount() const { return m_table.size(); }
    TFileInfo& record(uint32_t index) { return m_table[index]; }
    const TFileInfo& record(uint32_t index) const { return m_table[index]; }

    // Fills the table with drive records (built by DriveItems), each with its mount point,
    // and marks it unsortable.
    void setDrives(std::vector<TFileInfo> drives, QStringList mountPoints);

    // Sorts by column 0 name, 1 size, 2 type, 3 date, 4 attributes. Files come before
    // folders in either direction, the parent entry first of all; names, types and
    // attribute letters compare by the locale ignoring case, dates by the time itself.
    void sort(int column, bool ascending, FileTypeNames& typeNames);
    // The same for every column but the type, which needs the type names asked first; with
    // `top`, only the first `top` rows are put in their place (FileSorter).
    void sort(int column, bool ascending, size_t top = std::numeric_limits<size_t>::max());

    // Asks for the type name of a record once (its IconFetched mark is the widget's).
    const QString& typeNameOf(int row, FileTypeNames& typeNames);

    int count() const { return int(m_order.size()); }
    // The record shown in a row, and the rows of all records (the inverse; -1 for a record
    // no row shows), so that a view can keep its selection on the same entries across a sort.
    uint32_t recordAt(int row) const { return m_order[size_t(row)]; }
    std::vector<int> rowsOfRecords() const;
    const TFileInfo& at(int row) const { return m_table[m_order[size_t(row)]]; }
    TFileInfo& at(int row) { return m_table[m_order[size_t(row)]]; }
    const QString& directory() const { return m_directory; }
    bool isDriveView() const { return m_driveView; }
    bool isSortable() const { return !m_driveView && !m_order.empty(); }

    // Directory + name for entries, the mount point for drives.
    QString fullPath(int row) const;
    // "file", "dir" or "drv".
    static QString kindText(ItemKind kind);

    void clear();

private:
    FileTable m_table;
    std::vector<uint32_t> m_order; // row -> record
    QStringList m_mountPoints;     // drive view: per record
    QString m_directory;
    bool m_driveView = false;
};
