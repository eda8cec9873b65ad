#include "browse/FileIconDelegate.h"

QSize FileIconDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_itemWidth > 0)
        size.setWidth(m_itemWidth);
    return size;
}
