#pragma once
// What the transfer commands need of the folder tree and the file list: which one is the
// window's active pane, what each shows and has selected, and the few steps they take on
// it (re-read, rebuild and go to a folder, start renaming, select). The main window adapts
// its browse components (ui/WidgetBrowsePanes); tests use a plain fake.

#include <QList>
#include <QString>

// One row of the file list as the commands read it.
struct ListEntry {
    QString fullPath;
    QString caption;
    QString attributes; // the attribute letters ("A", "AR", ...)
    QString kind;       // "file", "dir" or "drv"
    bool selected = false;
    bool parent = false; // the parent-folder row, never part of a transfer
};

class BrowsePanes {
public:
    virtual ~BrowsePanes();

    virtual bool treeIsActive() const = 0;

    // The tree's selected folder without a trailing "/" (a drive root as its mount point),
    // empty when no node is selected or the root ("My Computer") is.
    virtual QString treeSelectedPath() const = 0;
    // 0 the root, 1 a drive, 2 or more a folder; -1 when nothing is selected.
    virtual int treeSelectedLevel() const = 0;
    // Rebuilds the tree and selects folder in it; the list follows the tree.
    virtual void rebuildTreeAt(const QString& folder) = 0;
    // Opens the node of path for a new name; the tree calls renameTreeFolder with it.
    virtual void startTreeRename(const QString& path) = 0;
    // Shows a folder just made below the tree's nodes without choosing it (the list and the
    // current folder stay).
    virtual void showFolderInTree(const QString& path) = 0;

    // The list's folder with a trailing "/", or "My Computer" for the drive view.
    virtual QString listDirectory() const = 0;
    virtual QList<ListEntry> listEntries() const = 0;
    virtual bool listReadOnly() const = 0;
    virtual void refreshList() = 0;
    // Re-reads the list keeping its selection and scroll position, then selects the row of
    // fullPath when there is one.
    virtual void refreshListInPlace(const QString& fullPath) = 0;
    // Selects every row (true) or none (false).
    virtual void selectAllInList(bool select) = 0;
    // Selects the row of fullPath alone and shows it.
    virtual void selectInList(const QString& fullPath) = 0;
    // Opens the row of fullPath for a new name; the list calls renameListItem with it.
    virtual void startListRename(const QString& fullPath) = 0;

    // Shared helpers over the calls above.
    QList<ListEntry> selectedEntries() const;
    int selectedCount() const { return int(selectedEntries().size()); }
};
