#include "browse/FileListModel.h"

#include "browse/ItemIcons.h"
#include "browse/FileTypeNames.h"
#include "browse/NameEdit.h"
#include "browse/OwnDrag.h"
#include "platform/PathText.h"
#include "platform/FileName.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QMimeData>
#include <QPalette>
#include <QUrl>

#include <algorithm>
#include <functional>

FileListModel::FileListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

QStringList FileListModel::fileColumns()
{
    return {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Date"), QStringLiteral("Attr")};
}

QStringList FileListModel::driveColumns()
{
    return {QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("HD Size"), QStringLiteral("Free Space"),
            QStringLiteral("Attr")};
}

void FileListModel::setListing(FileListing&& listing)
{
    beginResetModel();
    m_listing = std::move(listing);
    endResetModel();
}

void FileListModel::sortTable(int column, bool ascending)
{
    if (m_listing.isSortable())
        reorder([&] { m_listing.sort(column, ascending, FileTypeNames::instance()); });
}

void FileListModel::reorder(const std::function<void()>& change)
{
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> records;
    for (const QModelIndex& index : before)
        records.push_back(m_listing.recordAt(index.row()));
    change();
    const std::vector<int> rows = m_listing.rowsOfRecords();
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = rows[records[size_t(i)]];
        after << (row < 0 ? QModelIndex() : index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void FileListModel::applyBatch(ListingBatch& batch)
{
    if (batch.drives) {
        FileListing drives;
        drives.setDrives(std::move(batch.records), std::move(batch.mountPoints));
        setListing(std::move(drives));
        return;
    }
    if (batch.whole) {
        setListing(std::move(batch.listing));
        return;
    }
    appendRecords(batch.records);
    applyDetails(batch.details);
    if (batch.ordered)
        reorder([&] { m_listing.setOrder(std::move(batch.order)); });
}

void FileListModel::appendRecords(std::vector<TFileInfo>& records)
{
    if (records.empty())
        return;
    // Into an empty list, a reset costs the views less than an insertion.
    const bool empty = m_listing.count() == 0;
    if (empty)
        beginResetModel();
    else
        beginInsertRows(QModelIndex(), rowCount(), rowCount() + int(records.size()) - 1);
    for (TFileInfo& record : records)
        m_listing.append(std::move(record));
    if (empty)
        endResetModel();
    else
        endInsertRows();
}

void FileListModel::applyDetails(const std::vector<RecordDetails>& details)
{
    if (details.empty())
        return;
    for (const RecordDetails& detail : details)
        detail.applyTo(m_listing.record(detail.record));
    const std::vector<int> rowOf = m_listing.rowsOfRecords();
    std::vector<int> dropped;
    int first = rowCount();
    int last = -1;
    for (const RecordDetails& detail : details) {
        const int row = rowOf[detail.record];
        if (row < 0)
            continue;
        if (detail.dropped)
            dropped.push_back(row);
        first = std::min(first, row);
        last = std::max(last, row);
    }
    // Only the rows changed: the views work out the area to paint row by row.
    if (first <= last)
        Q_EMIT dataChanged(index(first, 0), index(last, columnCount() - 1));
    removeListedRows(std::move(dropped));
}

void FileListModel::removeListedRows(std::vector<int> rows)
{
    // From the bottom, one run of neighbouring rows at a time.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (size_t i = 0; i < rows.size();) {
        size_t j = i + 1;
        while (j < rows.size() && rows[j] == rows[j - 1] - 1)
            ++j;
        const int first = rows[j - 1];
        const int last = rows[i];
        beginRemoveRows(QModelIndex(), first, last);
        m_listing.removeRows(first, last - first + 1);
        endRemoveRows();
        i = j;
    }
}

void FileListModel::textsChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int FileListModel::widestCaption(const QFontMetrics& metrics) const
{
    int widest = 0;
    for (int row = 0; row < m_listing.count(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(m_text.caption(m_listing, row)));
    return widest;
}

void FileListModel::setMarkByAttributes(bool on)
{
    m_markByAttributes = on;
    textsChanged();
}

void FileListModel::setMarksShown(bool shown)
{
    m_marksShown = shown;
    textsChanged();
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_listing.count();
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

void FileListModel::fetch(int row) const
{
    TFileInfo& item = m_listing.at(row);
    if (item.IconFetched)
        return;
    item.IconFetched = true;
    m_listing.typeNameOf(row, FileTypeNames::instance());
    item.IconIndex = ItemIcons::instance().iconIndex(item);
}

QVariant FileListModel::displayText(int row, int column) const
{
    if (column == 0)
        return m_text.caption(m_listing, row);
    // Drive rows show sub-items 0 to 3 in order (type, size, free, blank); file rows too
    // (size, type, date, attributes).
    return m_text.subItem(m_listing, row, column - 1, FileTypeNames::instance());
}

QVariant FileListModel::alignment(int column) const
{
    const bool right = m_listing.isDriveView() ? (column == 2 || column == 3) : column == 1;
    return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

QVariant FileListModel::marks(int row, int role) const
{
    if (!m_markByAttributes || !m_marksShown || m_listing.isDriveView())
        return QVariant();
    const TFileInfo& item = m_listing.at(row);
    const uint32_t greyed = FileAttribute::Hidden | FileAttribute::ReadOnly | FileAttribute::System;
    if (role == Qt::ForegroundRole) {
        if (!(item.Attributes & greyed))
            return QVariant();
        return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    }
    const bool hidden = item.Attributes & FileAttribute::Hidden;
    const bool program = m_text.caption(m_listing, row).contains(QLatin1String(".EXE"), Qt::CaseInsensitive);
    if (!hidden && !program)
        return QVariant();
    QFont font;
    font.setStrikeOut(hidden);
    font.setBold(program);
    return font;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_listing.count())
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        fetch(row);
        return FileName::display(displayText(row, index.column()).toString());
    case Qt::EditRole:
        // The whole name, its extension too (the caption may hide it).
        return index.column() == 0 ? NameEdit::shown(PathText::nameOf(m_listing.fullPath(row))) : QVariant();
    case Qt::DecorationRole:
        if (index.column() != 0)
            return QVariant();
        fetch(row);
        return ItemIcons::instance().icon(m_listing.at(row).IconIndex);
    case Qt::TextAlignmentRole: return alignment(index.column());
    case Qt::ForegroundRole:
    case Qt::FontRole: {
        const QVariant font = marks(row, role);
        // A struck-out blank cell (a folder's size) would show as a stray dash.
        if (!font.isValid() || index.column() == 0 || !displayText(row, index.column()).toString().trimmed().isEmpty())
            return font;
        QFont plain = font.value<QFont>();
        plain.setStrikeOut(false);
        return plain;
    }
    case FullPathRole: return m_listing.fullPath(row);
    case KindRole: return int(m_listing.at(row).kind);
    default: return QVariant();
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= 5)
        return QVariant();
    if (role == Qt::DisplayRole)
        return (m_listing.isDriveView() ? driveColumns() : fileColumns()).at(section);
    if (role == Qt::TextAlignmentRole)
        return alignment(section);
    return QVariant();
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return flags;
    const auto kind = ItemKind(data(index, KindRole).toInt());
    if (kind == ItemKind::File || kind == ItemKind::Folder)
        flags |= Qt::ItemIsDragEnabled | (index.column() == 0 ? Qt::ItemIsEditable : Qt::NoItemFlags);
    return flags;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != 0 || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString path = m_listing.fullPath(index.row());
    const QString name = PathText::nameOf(path);
    const QString edited = NameEdit::merged(name, value.toString());
    if (edited != name)
        Q_EMIT nameEdited(path, edited);
    return false;
}

QStringList FileListModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const
{
    QList<int> rows;
    for (const QModelIndex& index : indexes) {
        const auto kind = ItemKind(data(index, KindRole).toInt());
        if ((kind == ItemKind::File || kind == ItemKind::Folder) && !rows.contains(index.row()))
            rows << index.row();
    }
    if (rows.isEmpty())
        return nullptr;
    std::sort(rows.begin(), rows.end());
    QList<QUrl> urls;
    for (int row : rows)
        urls << FileName::toUrl(data(index(row, 0), FullPathRole).toString());
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    OwnDrag::mark(mime);
    return mime;
}
