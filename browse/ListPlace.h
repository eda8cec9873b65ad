#pragma once
// Where the user is in a list view: the selected rows, the current row and the row at the
// top of the view, each held by its entry's full path so that they survive a new reading of
// the folder (the rows of which are new objects, perhaps in new places).

#include <QString>
#include <QStringList>

class QAbstractItemView;

class ListPlace {
public:
    // The place in view; its model gives each row's full path under pathRole.
    static ListPlace capture(const QAbstractItemView& view, int pathRole);

    bool isEmpty() const { return m_selected.isEmpty() && m_current.isEmpty() && m_top.isEmpty(); }

    // Puts the place back on the rows of the same paths now in the view; entries gone since
    // are left out. True when the current row or a selected one was found again.
    bool restore(QAbstractItemView& view) const;

private:
    int m_pathRole = 0;
    QStringList m_selected;
    QString m_current;
    QString m_top;
};
