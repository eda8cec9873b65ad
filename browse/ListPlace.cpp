#include "browse/ListPlace.h"

#include <QAbstractItemView>
#include <QHash>
#include <QItemSelectionModel>

ListPlace ListPlace::capture(const QAbstractItemView& view, int pathRole)
{
    ListPlace place;
    place.m_pathRole = pathRole;
    const QItemSelectionModel* selection = view.selectionModel();
    for (const QModelIndex& index : selection->selectedIndexes()) {
        if (index.column() == 0)
            place.m_selected << index.data(pathRole).toString();
    }
    place.m_current = view.currentIndex().data(pathRole).toString();
    place.m_top = view.indexAt(QPoint(1, 1)).data(pathRole).toString();
    return place;
}

bool ListPlace::restore(QAbstractItemView& view) const
{
    const QAbstractItemModel* model = view.model();
    QHash<QString, int> rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows.insert(model->index(row, 0).data(m_pathRole).toString(), row);
    const auto indexOf = [&](const QString& path) {
        const auto found = rows.constFind(path);
        return found == rows.cend() ? QModelIndex() : model->index(*found, 0);
    };
    QItemSelection selected;
    for (const QString& path : m_selected) {
        if (const QModelIndex index = indexOf(path); index.isValid())
            selected.select(index, index.siblingAtColumn(model->columnCount() - 1));
    }
    QItemSelectionModel* selection = view.selectionModel();
    const QModelIndex current = indexOf(m_current);
    if (current.isValid())
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selection->select(selected, QItemSelectionModel::ClearAndSelect);
    if (const QModelIndex top = indexOf(m_top); top.isValid())
        view.scrollTo(top, QAbstractItemView::PositionAtTop);
    return current.isValid() || !selected.isEmpty();
}
