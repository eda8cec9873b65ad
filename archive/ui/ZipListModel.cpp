#include "archive/ui/ZipListModel.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

const char* const kHeadings[] = {"Name", "Packed", "Method", "Ratio (%)", "CRC32", "Attributes", "Format",
                                 "Encrypted", "Time Stamp", "Size", "Version Made", "Version Needed", "Path"};
static_assert(std::size(kHeadings) == ZipListModel::ColumnCount);

QString withoutSlash(const QString& name)
{
    return name.endsWith(QLatin1Char('/')) ? name.chopped(1) : name;
}

QString methodText(uint16_t method)
{
    switch (method) {
    case 0: return QStringLiteral("Stored");
    case 8: return QStringLiteral("Deflated");
    case 9: return QStringLiteral("Deflate64");
    case 12: return QStringLiteral("BZip2");
    case 14: return QStringLiteral("LZMA");
    default: return QStringLiteral("Method %1").arg(method);
    }
}

int ratio(const ZipEntry& e)
{
    return e.size() == 0 ? 0 : int(std::lround(100.0 - 100.0 * double(e.packedSize()) / double(e.size())));
}

QString versionText(uint16_t version)
{
    const int number = version & 0xff;
    return QStringLiteral("%1.%2").arg(number / 10).arg(number % 10);
}

// The DOS attribute letters in the low byte (read-only, hidden, system, folder, archive).
QString attributeText(const ZipEntry& e)
{
    QString letters;
    const uint32_t a = e.header.externalAttributes;
    for (const auto& [bit, letter] : {std::pair{0x01u, 'R'}, {0x02u, 'H'}, {0x04u, 'S'}, {0x10u, 'D'}, {0x20u, 'A'}}) {
        if (a & bit)
            letters += QLatin1Char(letter);
    }
    return letters;
}

QString formatText(const ZipEntry& e)
{
    if (e.isDirectory())
        return QStringLiteral("Folder");
    return e.isSymlink() ? QStringLiteral("Link") : QStringLiteral("File");
}

} // namespace

void ZipListModel::setEntries(std::vector<ZipEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    m_order.resize(m_entries.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    endResetModel();
}

bool ZipListModel::isSortable(int column)
{
    return column == Name || column == Packed || column == Ratio || column == TimeStamp || column == Size;
}

QString ZipListModel::cellText(const ZipEntry& e, int column)
{
    const QString name = withoutSlash(e.FileName);
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    switch (Column(column)) {
    case Name: return name.mid(slash + 1);
    case Packed: return QString::number(e.packedSize());
    case Method: return methodText(e.header.method);
    case Ratio: return QString::number(ratio(e));
    case Crc: return QStringLiteral("%1").arg(e.header.crc, 8, 16, QLatin1Char('0')).toUpper();
    case Attributes: return attributeText(e);
    case Format: return formatText(e);
    case Encrypted: return e.IsEncrypted() ? QStringLiteral("Yes") : QString();
    case TimeStamp: return QLocale().toString(e.lastModified(), QLocale::ShortFormat);
    case Size: return QString::number(e.size());
    case VersionMade: return versionText(e.header.versionMadeBy);
    case VersionNeeded: return versionText(e.header.versionNeeded);
    case Path: return slash < 0 ? QString() : name.left(slash + 1);
    case ColumnCount: break;
    }
    return QString();
}

int ZipListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_order.size());
}

int ZipListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ZipListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ZipEntry& e = entryAt(index.row());
    const bool deleted = e.action == ZipEntry::Action::Delete;
    const bool alternate = index.row() % 2 == 1;
    switch (role) {
    case Qt::DisplayRole: return cellText(e, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == Packed || index.column() == Ratio || index.column() == Size)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::BackgroundRole:
        if (deleted)
            return QBrush(Qt::yellow);
        return alternate ? QVariant(QBrush(QColor(0, 255, 255))) : QVariant();
    case Qt::ForegroundRole:
        if (deleted)
            return QBrush(QColor(0, 0, 128));
        return alternate ? QVariant(QBrush(Qt::red)) : QVariant();
    default: return {};
    }
}

QVariant ZipListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(kHeadings[section]);
    return {};
}

void ZipListModel::sort(int column, Qt::SortOrder order)
{
    if (!isSortable(column))
        return;
    const auto key = [this, column](int i) {
        const ZipEntry& e = m_entries[size_t(i)];
        switch (column) {
        case Packed: return QVariant::fromValue(e.packedSize());
        case Ratio: return QVariant(ratio(e));
        case TimeStamp: return QVariant(e.lastModified());
        case Size: return QVariant::fromValue(e.size());
        default: return QVariant(cellText(e, Name).toLower());
        }
    };
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selected rows follow their entries to their new places.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> entries;
    for (const QModelIndex& index : before)
        entries.push_back(entryIndex(index.row()));
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const QVariant ka = key(a), kb = key(b);
        const auto c = QVariant::compare(ka, kb);
        return order == Qt::AscendingOrder ? c == QPartialOrdering::Less : c == QPartialOrdering::Greater;
    });
    std::vector<int> rowOf(m_order.size());
    for (size_t row = 0; row < m_order.size(); ++row)
        rowOf[size_t(m_order[row])] = int(row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf[size_t(entries[size_t(i)])], before[i].column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
