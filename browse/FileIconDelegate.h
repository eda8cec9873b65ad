#pragma once
// Draws the rows of the list, small-icon and icon styles. Those views take one size for all
// items (so a folder of 100,000 files is laid out without asking every row for its text and
// icon); this delegate gives that size a width chosen for the whole listing, so a name is
// never cut short because a shorter one happened to be first.

#include <QStyledItemDelegate>

class FileIconDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // 0 leaves each item its own width.
    void setItemWidth(int width) { m_itemWidth = width; }
    int itemWidth() const { return m_itemWidth; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_itemWidth = 0;
};
