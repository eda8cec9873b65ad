#pragma once
// The folder tree's nodes as a view draws and edits them: a label opened for a new name has
// room for the name and a few more letters, though the tree's column is only as wide as its
// longest name (and the node may lie deep inside a narrow pane), as far as the pane shows it;
// and what is typed there stays while the node's other data change (its subfolders read).

#include <QStyledItemDelegate>

class FolderLabelDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
