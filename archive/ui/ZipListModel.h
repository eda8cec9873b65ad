#pragma once
// The rows of the zip viewer: one per entry of the open archive, in the columns the viewer
// knows ("Name", "Packed", "Method", "Ratio (%)", "CRC32", "Attributes", "Format",
// "Encrypted", "Time Stamp", "Size", "Version Made", "Version Needed", "Path"). Alternate rows
// are aqua with red text and entries marked for deletion yellow with navy text. Sorting is
// offered by name, packed size, ratio, time stamp and size; the other columns keep the order.

#include "archive/ZipEntry.h"

#include <QAbstractTableModel>

#include <vector>

class ZipListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Packed, Method, Ratio, Crc, Attributes, Format, Encrypted, TimeStamp, Size, VersionMade, VersionNeeded, Path, ColumnCount };

    explicit ZipListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // A copy of the archive's entries (empty when none is open); the order goes back to the
    // archive's own.
    void setEntries(std::vector<ZipEntry> entries);
    // The archive's index of a row.
    int entryIndex(int row) const { return m_order[size_t(row)]; }
    const ZipEntry& entryAt(int row) const { return m_entries[size_t(entryIndex(row))]; }

    static bool isSortable(int column);
    static QString cellText(const ZipEntry& entry, int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    std::vector<ZipEntry> m_entries;
    std::vector<int> m_order;
};
