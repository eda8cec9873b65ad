#include "browse/FolderLabelDelegate.h"

#include <QLineEdit>
#include <QWidget>

#include <algorithm>

void FolderLabelDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    // The view fills the editor again on every change of the node; the text typed (or the
    // name, selected for typing over) is kept.
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && (line->isModified() || line->text() == index.data(Qt::EditRole).toString()))
        return;
    QStyledItemDelegate::setEditorData(editor, index);
}

void FolderLabelDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex& index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    const int room = editor->fontMetrics().horizontalAdvance(index.data(Qt::EditRole).toString() + QStringLiteral("MMMM"));
    const QWidget* pane = editor->parentWidget();
    const int shown = pane ? pane->width() - editor->x() : room;
    editor->resize(std::max(editor->width(), std::min(room, shown)), editor->height());
}
