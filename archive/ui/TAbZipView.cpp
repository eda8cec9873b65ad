#include "archive/ui/TAbZipView.h"

#include "archive/ui/ZipListModel.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

constexpr int kRowHeight = 15;
constexpr int kHeaderHeight = 17;
constexpr int kColumnWidth = 150;

class RowHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
    }
};

} // namespace

TAbZipView::TAbZipView(QWidget* parent) : QTreeView(parent), m_model(new ZipListModel(this))
{
    setObjectName(QStringLiteral("ZipViewer"));
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemDelegate(new RowHeightDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setSortingEnabled(true);
    header()->setDefaultSectionSize(kColumnWidth);
    header()->setSectionsMovable(false);
    header()->setFixedHeight(kHeaderHeight);
    header()->setSortIndicatorShown(false);
    for (int column = 0; column < ZipListModel::ColumnCount; ++column) {
        const bool shown = column == ZipListModel::Name || column == ZipListModel::Packed || column == ZipListModel::Encrypted
            || column == ZipListModel::TimeStamp || column == ZipListModel::Size || column == ZipListModel::Path;
        setColumnHidden(column, !shown);
    }
    // A click on a heading that does not sort leaves the order as it is.
    connect(header(), &QHeaderView::sortIndicatorChanged, this, [this](int column, Qt::SortOrder) {
        header()->setSortIndicatorShown(ZipListModel::isSortable(column));
    });
}

QList<int> TAbZipView::selectedEntries() const
{
    QList<int> entries;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        entries << m_model->entryIndex(index.row());
    return entries;
}

int TAbZipView::selectedCount() const
{
    return int(selectionModel()->selectedRows().size());
}

bool TAbZipView::allSelected() const
{
    return m_model->rowCount() > 0 && selectedCount() == m_model->rowCount();
}
