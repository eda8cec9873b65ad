#pragma once
// The file list of the browse panes: the files (and, with ShowFolders, the folders) of one
// folder, or the drives when its folder is "My Computer". The folder is read on a worker
// (FolderLoader) into the item table (FileListing), filtered by attributes and masks and
// sorted by the program-wide sort column (FileSortOrder); the rows arrive in batches while
// the window goes on answering, and are shown in one of four view styles. Rows are produced
// on demand; icons and type names are fetched for the rows shown.
//
// Usable on its own: create it, set Directory, and connect the signals. With a navigator
// (setNavigator) the folders it opens and goes up to are asked of the navigator, and the
// list follows the navigator's folder, whoever asked for it.

#include "browse/BrowseNavigator.h"
#include "browse/FileAttributes.h"
#include "browse/FileFormat.h"
#include "browse/FileListModel.h"
#include "browse/FolderLoader.h"
#include "browse/FileTimeFormat.h"
#include "browse/ListPlace.h"
#include "browse/TFileViewShortCuts.h"

#include <QPointer>
#include <QWidget>

class FileViewKeys;
class QAbstractItemView;
class FileIconDelegate;
class QListView;
class QStackedLayout;
class QTreeView;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TFileViewFol : public QWidget {
    Q_OBJECT
public:
    explicit TFileViewFol(QWidget* parent = nullptr);

    QString Directory() const { return m_directory; }
    // "My Computer" (any case) shows the drives; an existing folder is stored with a
    // trailing "/"; anything else is ignored and the list keeps its folder.
    void setDirectory(const QString& directory);
    // Stores the folder without the change test and without reading it (the caller runs
    // RefreshList), as the drive tabs do.
    void setDirectoryDirect(const QString& directory);

    QString Mask() const { return m_options.mask; }
    void setMask(const QString& mask);
    TFileType FileType() const { return m_options.fileType; }
    void setFileType(TFileType type);
    bool ShowFolders() const { return m_options.showFolders; }
    void setShowFolders(bool show);
    bool ParentDirEnabled() const { return m_options.parentDirEnabled; }
    void setParentDirEnabled(bool enabled) { m_options.parentDirEnabled = enabled; }
    QString ParentDirCaption() const { return m_model.text().parentDirCaption(); }
    void setParentDirCaption(const QString& caption);
    bool HideFileExt() const { return m_model.text().hideFileExt(); }
    void setHideFileExt(bool hide);
    TFileSize FileSize() const { return m_model.text().fileSize(); }
    void setFileSize(TFileSize unit);
    TDtFormat DateFormat() const { return m_model.text().dateFormat(); }
    void setDateFormat(TDtFormat format);
    TTmFormat TimeFormat() const { return m_model.text().timeFormat(); }
    void setTimeFormat(TTmFormat format);
    bool LItemColorByATTR() const { return m_colorByAttributes; }
    void setLItemColorByATTR(bool on);
    TViewStyle ViewStyle() const { return m_viewStyle; }
    void setViewStyle(TViewStyle style);
    // Widths of the five file columns (Name, Size, Type, Date, Attr).
    void setColumnWidths(const QList<int>& widths);
    QList<int> columnWidths() const { return m_columnWidths; }
    int ColWidth_Name() const { return m_columnWidths[0]; }
    int ColWidth_Size() const { return m_columnWidths[1]; }
    int ColWidth_Type() const { return m_columnWidths[2]; }
    int ColWidth_Mod() const { return m_columnWidths[3]; }
    int ColWidth_Attr() const { return m_columnWidths[4]; }
    void setColWidth_Name(int width) { setColumnWidth(0, width); }
    void setColWidth_Size(int width) { setColumnWidth(1, width); }
    void setColWidth_Type(int width) { setColumnWidth(2, width); }
    void setColWidth_Mod(int width) { setColumnWidth(3, width); }
    void setColWidth_Attr(int width) { setColumnWidth(4, width); }

    // On: the Name column takes the width the other columns leave; off: every column keeps
    // its own width.
    bool AutoSizeColumns() const { return m_autoSizeColumns; }
    void setAutoSizeColumns(bool on);

    // Opening: by a double click, by the Enter key, and whether an opened file goes to the
    // program's own panes (viewSelected) instead of its associated program.
    bool OpenByDblClick() const { return m_openByDblClick; }
    void setOpenByDblClick(bool on) { m_openByDblClick = on; }
    bool OpenByEnter() const { return m_openByEnter; }
    void setOpenByEnter(bool on) { m_openByEnter = on; }
    bool OpenByDblClickFV() const { return m_openByDblClickFV; }
    void setOpenByDblClickFV(bool on) { m_openByDblClickFV = on; }
    // The list's own context menu (TFileViewFolPopUp); off, the contextMenuRequested signal
    // lets the owner show its own.
    bool PopUpMenuEnabled() const { return m_popUpMenuEnabled; }
    void setPopUpMenuEnabled(bool on) { m_popUpMenuEnabled = on; }
    TFileViewShortCuts& ShortCuts() { return m_shortCuts; }
    const TFileViewShortCuts& ShortCuts() const { return m_shortCuts; }
    bool isDriveView() const;

    BrowseNavigator* navigator() const { return m_navigator; }
    void setNavigator(BrowseNavigator* navigator);
    // What the list does when the navigator reaches folder: shows it (re-read on a reload)
    // and, having gone up, selects the folder it came from.
    void followFolder(const QString& folder, BrowseNavigator::Change change);

    QString SelectedItem() const { return m_selectedItem; }
    QStringList selectedPaths() const;
    // The selected rows (first column) in list order.
    QModelIndexList selectedRows() const;
    // Whether a selected item's caption ends with the extension (given with its dot),
    // ignoring case.
    bool HasSelectedExtension(const QString& extension) const;
    int SelectedNumber() const;
    qint64 SelectedSize() const;
    qint64 DriveFreeSpace() const;

    // Reads the folder again on the worker; the rows of the previous listing stay until the
    // first rows of the new one arrive. isLoading() is true until loaded().
    void RefreshList();
    // RefreshList that leaves the user where they were: the selection, the current row and
    // the scroll position come back on the same entries (ListPlace); then the entry of
    // select, when it is listed, becomes the selected one.
    void RefreshListInPlace(const QString& select = QString());
    bool isLoading() const { return m_loading; }
    void SortItems();
    void GoUp();
    void OpenSelected();
    // The selected item, run through the click handling (SelectedItem, itemChanged).
    void followSelection();
    // Selects, focuses and shows the item of the full path; false when there is none.
    bool SelectFileInList(const QString& fullPath);
    // The same once the listing under way has its rows in order (at once when none is): how
    // a caller selects an entry of the folder it just opened or refreshed.
    void SelectFileWhenListed(const QString& fullPath);
    // Selects the entry of the full path and opens its name for editing in place (Escape
    // gives up); captionEdited tells a different name. False when it is not listed.
    bool EditItemCaption(const QString& fullPath);
    // The desktop's file search in this folder, when the list has the focus.
    void FindInFolder();
    // The properties window of the selected item.
    void ShowItemProperties();

    FileListModel& model() { return m_model; }
    QAbstractItemView* currentView() const;

Q_SIGNALS:
    // A click left an item selected (OnItemChange).
    void itemChanged(const QString& fullPath);
    // While a folder is read (a few times a second at most): records so far and the name
    // read last.
    void loadProgress(int count, const QString& name);
    // The listing's rows are all in the list in their order (their details may follow).
    void rowsListed();
    // The listing is complete, details and all.
    void loaded();
    // A file was opened: the main window shows it (WM_VIEWSELECTED).
    void viewSelected(const QString& fullPath);
    // The list moved to another folder by itself (opening a folder, going up).
    void directoryOpened(const QString& directory);
    // A double click that did not open (OnDblClick).
    void dblClicked();
    // After the list's own handling of a key (OnKeyDown).
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // The context menu was asked for while the list's own menu is off; global position.
    void contextMenuRequested(const QPoint& globalPosition);
    // The file commands of the key bindings and the context menu; the owner's transfer
    // commands carry them out.
    void copyRequested();
    void cutRequested();
    void pasteRequested();
    void deleteRequested();
    void renameRequested();
    void newFolderRequested();
    void copyToRequested();
    void moveToRequested();
    // An entry's name was edited in place to a different one (the name's bytes, see
    // NameEdit); sent after the editor has closed.
    void captionEdited(const QString& fullPath, const QString& name);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class FileViewKeys;
    void HeaderClick(int column);
    void DblClick(const QModelIndex& index);
    void openFile(const QString& path);
    void focusRow(int row);
    QModelIndex selectedItemIndex() const;
    void ItemClick(const QModelIndex& index);
    void applyColumns();
    void setColumnWidth(int column, int width);
    void updateSortArrow();
    void updateItemWidth();
    void openFolder(const QString& path);
    void batchRead(ListingBatch& batch);
    void listingFinished();
    void startTable();
    void rowsOrdered();
    void selectFirstRow();
    bool sortChangedSinceRequest() const;

    FileListModel m_model;
    FolderLoader* m_loader = nullptr;
    QTreeView* m_report = nullptr;
    QListView* m_icons = nullptr;
    FileIconDelegate* m_iconDelegate = nullptr;
    QStackedLayout* m_stack = nullptr;
    QString m_directory = QStringLiteral("My Computer");
    ListingOptions m_options;
    TViewStyle m_viewStyle = TViewStyle::vsReport;
    bool m_colorByAttributes = true;
    QList<int> m_columnWidths{165, 75, 95, 125, 40};
    bool m_autoSizeColumns = false;
    bool m_openByDblClick = true;
    bool m_openByEnter = true;
    bool m_openByDblClickFV = true;
    bool m_popUpMenuEnabled = true;
    TFileViewShortCuts m_shortCuts;
    QPointer<BrowseNavigator> m_navigator;
    QString m_selectedItem;
    bool m_loading = false;
    bool m_awaitingRows = false;     // the previous listing's rows are still shown
    bool m_rowsAnnounced = false;    // rowsListed was emitted for the listing under way
    int m_requestedSortColumn = 0;   // the sort the worker was asked for
    bool m_requestedAscending = true;
    static constexpr uint32_t noRecord = UINT32_MAX;
    uint32_t m_autoSelectedRecord = noRecord; // the record selected as the first row, not by the user
    QString m_pendingSelection;
    ListPlace m_place; // where RefreshListInPlace puts the user back
};
