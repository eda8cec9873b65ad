#pragma once
// The rows of a search dialog list: one hit each, with the columns "File(s)" (name and the
// file's icon), "In" (folder with a trailing "/"), "Size" (bytes with thousands separators),
// "Type" (the MIME type's name) and "Modified" (short date and long time). Texts are made
// when a row is shown; sorting compares sizes and times as numbers and the text columns with
// the user's locale.

#include "search/SearchHit.h"

#include <QAbstractTableModel>

#include <vector>

class SearchHitModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, FolderColumn, SizeColumn, TypeColumn, ModifiedColumn, ColumnCount };

    explicit SearchHitModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void append(std::vector<SearchHit> hits);
    void clear();
    // Removes the rows (any order) and returns their hits, from the last row to the first.
    std::vector<SearchHit> take(std::vector<int> rows);
    // Removes every row whose path is one of paths.
    void removePaths(const std::vector<QByteArray>& paths);
    void sortBy(int column, Qt::SortOrder order);

    const SearchHit& hit(int row) const { return m_hits[std::size_t(row)]; }
    const std::vector<SearchHit>& hits() const { return m_hits; }
    std::int64_t totalBytes() const { return m_total; }
    QString text(int row, int column) const;

private:
    std::vector<SearchHit> m_hits;
    std::int64_t m_total = 0;
};
