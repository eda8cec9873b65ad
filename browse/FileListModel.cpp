#include "browse/FileListModel.h"

#include "browse/ItemIcons.h"
#include "browse/FileTypeNames.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

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
    if (!m_listing.isSortable())
        return;
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QStringList paths;
    for (const QModelIndex& index : before)
        paths << m_listing.fullPath(index.row());
    m_listing.sort(column, ascending, FileTypeNames::instance());
    // Keep selections and the current item on the same entries after the reorder.
    QHash<QString, int> rowOf;
    for (int row = 0; row < m_listing.count() && !paths.isEmpty(); ++row)
        rowOf.insert(m_listing.fullPath(row), row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf.value(paths[i]), before[i].column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void FileListModel::textsChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
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
    case Qt::EditRole:
        fetch(row);
        return displayText(row, index.column());
    case Qt::DecorationRole:
        if (index.column() != 0)
            return QVariant();
        fetch(row);
        return ItemIcons::instance().icon(m_listing.at(row).IconIndex);
    case Qt::TextAlignmentRole: return alignment(index.column());
    case Qt::ForegroundRole:
    case Qt::FontRole: return marks(row, role);
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
