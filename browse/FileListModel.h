#pragma once
// The file list's rows for Qt's views: the item table (FileListing) shown through the row
// texts (FileItemText). Views ask only for the rows they show; a row's icon and type name
// are fetched on its first display (IconFetched). Hidden, read-only and system entries are
// grey, hidden ones also struck through, and names containing ".EXE" bold, while attribute
// marking is on and the view style shows marks (report and list).

#include "browse/FileItemText.h"
#include "browse/FileListing.h"
#include "browse/FolderListingJob.h"

#include <QAbstractTableModel>

class QFontMetrics;

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { FullPathRole = Qt::UserRole + 1, KindRole };

    explicit FileListModel(QObject* parent = nullptr);

    FileListing& listing() { return m_listing; }
    const FileListing& listing() const { return m_listing; }
    FileItemText& text() { return m_text; }
    const FileItemText& text() const { return m_text; }

    // Takes a freshly read table; every row is fetched again.
    void setListing(FileListing&& listing);
    // Applies one delivery of the listing worker (see ListingBatch): new rows inserted at the
    // end, details shown (rows the filters now leave out removed), the rows' new order laid
    // out with selections kept on their entries. Takes the batch's records, or its whole table.
    void applyBatch(ListingBatch& batch);
    // Sorts the table (not the drive view) and announces the new order.
    void sortTable(int column, bool ascending);
    // Tells the views that every row's texts changed (formats, units, captions).
    void textsChanged();
    // The width of the longest caption in the given font, without fetching any row.
    int widestCaption(const QFontMetrics& metrics) const;

    void setMarkByAttributes(bool on);
    void setMarksShown(bool shown);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Files and folders can be dragged out (the parent entry and drives cannot); the drag
    // carries their URLs in list order. Their names can be edited in place.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edited name is not taken into the table: nameEdited asks for the rename, and the
    // list is read again once it is done.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

Q_SIGNALS:
    // The name of the entry at fullPath was edited to a different one (its bytes, see
    // NameEdit).
    void nameEdited(const QString& fullPath, const QString& name);

public:
    static QStringList fileColumns();
    static QStringList driveColumns();

private:
    void appendRecords(std::vector<TFileInfo>& records);
    void applyDetails(const std::vector<RecordDetails>& details);
    void removeListedRows(std::vector<int> rows);
    // Changes the row order through change() while persistent indexes (selections, the
    // current item) stay on their records.
    void reorder(const std::function<void()>& change);
    void fetch(int row) const;
    QVariant displayText(int row, int column) const;
    QVariant alignment(int column) const;
    QVariant marks(int row, int role) const;

    mutable FileListing m_listing;
    FileItemText m_text;
    bool m_markByAttributes = true;
    bool m_marksShown = true;
};
