#pragma once
// The zip viewer ZipViewer: the list of the open archive's entries (ZipListModel) with the
// columns name, packed size, encryption, time stamp, size and path shown, sortable by name,
// packed size, ratio, time stamp and size, columns that can be sized, multiple selection,
// default column width 150, rows 15 and the header 17 pixels high.

#include <QTreeView>

class ZipListModel;

class TAbZipView final : public QTreeView {
    Q_OBJECT
public:
    explicit TAbZipView(QWidget* parent = nullptr);

    ZipListModel& listModel() const { return *m_model; }
    // The archive's indexes of the selected entries.
    QList<int> selectedEntries() const;
    int selectedCount() const;
    bool allSelected() const;

private:
    ZipListModel* m_model;
};
