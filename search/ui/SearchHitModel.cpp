#include "search/ui/SearchHitModel.h"

#include "browse/FileTimeFormat.h"
#include "platform/FileName.h"
#include "platform/FileTypes.h"
#include "platform/ui/FileIcons.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <set>

namespace {

const FileTimeFormat& timeFormat()
{
    static const FileTimeFormat format(TDtFormat::df_Customize, TTmFormat::tfLongFormat);
    return format;
}

} // namespace

SearchHitModel::SearchHitModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int SearchHitModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

int SearchHitModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SearchHitModel::text(int row, int column) const
{
    const SearchHit& hit = m_hits[std::size_t(row)];
    switch (column) {
    case NameColumn:
        return FileName::display(FileName::decode(hit.name));
    case FolderColumn:
        return FileName::display(FileName::decode(hit.folder));
    case SizeColumn:
        return QLocale().toString(qint64(hit.size));
    case TypeColumn:
        return FileTypes::typeName(FileName::decode(hit.name), false);
    case ModifiedColumn:
        return timeFormat().format(hit.modified);
    }
    return QString();
}

QVariant SearchHitModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_hits.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return FileIcons::forFile(FileName::decode(m_hits[std::size_t(index.row())].path()), false);
    if (role == Qt::TextAlignmentRole && index.column() == SizeColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant SearchHitModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[] = {"File(s)", "In", "Size", "Type", "Modified"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QVariant();
    return QLatin1String(captions[section]);
}

void SearchHitModel::append(std::vector<SearchHit> hits)
{
    if (hits.empty())
        return;
    beginInsertRows(QModelIndex(), int(m_hits.size()), int(m_hits.size() + hits.size()) - 1);
    for (SearchHit& hit : hits) {
        m_total += hit.size;
        m_hits.push_back(std::move(hit));
    }
    endInsertRows();
}

void SearchHitModel::clear()
{
    beginResetModel();
    m_hits.clear();
    m_total = 0;
    endResetModel();
}

std::vector<SearchHit> SearchHitModel::take(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= int(m_hits.size()); });
    std::vector<SearchHit> taken;
    if (rows.empty())
        return taken;
    // One pass over the list however many rows go.
    beginResetModel();
    std::vector<bool> gone(m_hits.size(), false);
    for (int row : rows) {
        gone[std::size_t(row)] = true;
        m_total -= m_hits[std::size_t(row)].size;
        taken.push_back(m_hits[std::size_t(row)]);
    }
    std::vector<SearchHit> kept;
    kept.reserve(m_hits.size() - rows.size());
    for (std::size_t i = 0; i < m_hits.size(); ++i) {
        if (!gone[i])
            kept.push_back(std::move(m_hits[i]));
    }
    m_hits = std::move(kept);
    endResetModel();
    return taken;
}

void SearchHitModel::removePaths(const std::vector<QByteArray>& paths)
{
    const std::set<QByteArray> gone(paths.begin(), paths.end());
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_hits.size(); ++row) {
        if (gone.count(m_hits[row].path()))
            rows.push_back(int(row));
    }
    take(std::move(rows));
}

void SearchHitModel::sortBy(int column, Qt::SortOrder order)
{
    std::vector<int> rows(m_hits.size());
    std::vector<QString> keys;
    const bool byText = column != SizeColumn && column != ModifiedColumn;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = int(i);
        if (byText)
            keys.push_back(text(int(i), column));
    }
    QCollator collator;
    auto less = [&](int a, int b) -> bool {
        const SearchHit& x = m_hits[std::size_t(a)];
        const SearchHit& y = m_hits[std::size_t(b)];
        if (column == SizeColumn)
            return x.size < y.size;
        if (column == ModifiedColumn)
            return x.modified < y.modified;
        return collator.compare(keys[std::size_t(a)], keys[std::size_t(b)]) < 0;
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int a, int b) { return order == Qt::AscendingOrder ? less(a, b) : less(b, a); });
    Q_EMIT layoutAboutToBeChanged();
    std::vector<SearchHit> sorted;
    sorted.reserve(m_hits.size());
    for (int row : rows)
        sorted.push_back(std::move(m_hits[std::size_t(row)]));
    m_hits = std::move(sorted);
    Q_EMIT layoutChanged();
}
