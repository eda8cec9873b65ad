#pragma once
// The folder tree of the browse panes: "My Computer" at the root, the drives (mounted
// volumes) below it, and folders below them, read on a worker when a node is first expanded
// (the node keeps its expand button until they arrive). Keeps the selected folder as a path
// (SelectedPath) and tells when it changes (dirChanged, the OnDirChange event). With a
// navigator (setNavigator) a chosen folder is asked of the navigator and the tree follows the
// navigator's folder, whoever asked for it. In single-drive mode only the drive of the current
// folder is shown.
//
// The current folder is program state (CurrentFolder), never the process's working folder,
// so browsing a USB stick does not keep it busy.

#include "browse/BrowseNavigator.h"
#include "browse/FileAttributes.h"
#include "browse/FolderDrag.h"
#include "platform/Drives.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>
#include <QTreeWidget>

class TTabControlDriveFol;
class WorkerLink;

class TPathViewFol : public QTreeWidget {
    Q_OBJECT
public:
    // AttributesRole: a folder node's FileAttribute bits, as the file list reads them.
    enum NodeRole { PathRole = Qt::UserRole + 1, LevelRole, NetworkRole, DriveTypeRole, ChildrenRole, AttributesRole };
    enum NodeLevel { RootLevel = 0, DriveLevel = 1, FolderLevel = 2 };
    // ChildrenRole: whether a node's subfolders were read.
    enum ChildrenState { NotRead = 0, Reading, Read };

    explicit TPathViewFol(QWidget* parent = nullptr);
    ~TPathViewFol() override;

    // Whether subfolders of expanded nodes are still being read.
    bool isLoading() const { return m_reading > 0; }

    TFileType FolderType() const { return m_folderType; }
    void setFolderType(TFileType type) { m_folderType = type; }
    BrowseNavigator* navigator() const { return m_navigator; }
    void setNavigator(BrowseNavigator* navigator);
    // What the tree does when the navigator reaches folder: selects its node (the tree is
    // built again first on a reload; a drive node reached by going up is collapsed).
    void followFolder(const QString& folder, BrowseNavigator::Change change);
    // The tab strip whose drive-type display the tree's own popup switches.
    TTabControlDriveFol* DriveTabs() const { return m_driveTabs; }
    void setDriveTabs(TTabControlDriveFol* tabs) { m_driveTabs = tabs; }
    bool SingleDrive() const { return m_singleDrive; }
    void setSingleDrive(bool single);
    bool PopUpMenuEnabled() const { return m_popUpMenuEnabled; }
    void setPopUpMenuEnabled(bool enabled) { m_popUpMenuEnabled = enabled; }
    QString SelectedPath() const { return m_selectedPath; }
    void setSelectedPath(const QString& path);
    // Stored only; the tree never sets it.
    QString SelectedFile() const { return m_selectedFile; }
    void setSelectedFile(const QString& file) { m_selectedFile = file; }
    QString CurrentFolder() const { return m_currentFolder; }
    void setCurrentFolder(const QString& folder);

    void AddRootNode();
    void AddDriveNodes();
    void AddDriveNode(const QString& root);
    void RebuildTree();
    // Selects the folder of the path, expanding the nodes on the way; false (and nothing
    // changed) when the path is not an existing folder or a part of it has no node. A folder
    // on the path whose parent is still being read is looked at alone and gets its node at
    // once; its brothers join it when they arrive.
    bool GoToPath(const QString& path);
    QString GetNodePath(const QTreeWidgetItem* node) const;
    // The node of a path among the nodes built so far; null when there is none.
    QTreeWidgetItem* nodeOfPath(const QString& path) const;
    // Opens the caption of a folder node (not the root or a drive) for a new name; what the
    // user enters comes back through captionEdited. False when there is no such node.
    bool EditFolderNode(const QString& path);
    // Shows a folder made inside a node that was read already, in its sorted place, without
    // choosing it.
    void AddFolderNodeOf(const QString& path);
    // Reads the subfolders of an open node again on the worker: folders made since appear in
    // their places, folders gone leave; the other nodes (and what is open below them) stay.
    void SyncFolderNode(const QString& path);
    QTreeWidgetItem* rootNode() const { return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr; }
    QTreeWidgetItem* driveNodeOf(const QString& path) const;

    void OpenWithExplorer();
    void FindWithExplorer();
    void ShowFolderProperties();
    // Opens the desktop's disk utility on the selected drive, then rebuilds the tree and
    // re-reads the list.
    void FormatDrive();
    void SavePathToClipboard();
    void ToggleSingleDrive();
    // Collapses an expanded node with everything below; expands a collapsed one together
    // with the descendants already read (reading a whole disk on the UI thread is not an
    // option).
    void ExpandCollapse(QTreeWidgetItem* node);
    void RefreshTree();

    static QString myComputer();

Q_SIGNALS:
    void dirChanged(const QString& selectedPath);
    // Single-drive mode was switched on or off (the tab strip shows only while it is on).
    void singleDriveChanged(bool single);
    // The caption of the folder node of path was edited to a different name (the name's
    // bytes: the parts of a name that is not UTF-8 the user did not touch are kept). Queued
    // after the editor closed; Escape sends nothing.
    void captionEdited(const QString& path, const QString& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class FolderNode;
    struct Subfolder {
        QString name;
        uint32_t attributes;
        bool marked; // has subfolders of its own, or may have (network)
    };
    void nodeEdited(QTreeWidgetItem* node, const QString& text);
    void NodeExpanding(QTreeWidgetItem* node);
    void readChildren(QTreeWidgetItem* node, bool sync);
    void dropGoneChildren(QTreeWidgetItem* node, const QList<Subfolder>& folders);
    void subfoldersRead(QTreeWidgetItem* node, const QList<Subfolder>& folders);
    QTreeWidgetItem* childOnPath(QTreeWidgetItem* node, const QString& name);
    void ChooseNode(bool byMouse);
    void addDriveNodes(const QList<DriveInfo>& drives);
    QTreeWidgetItem* addFolderNode(QTreeWidgetItem* parent, int index, const Subfolder& folder);
    void showComputer(BrowseNavigator::Change change);
    // Runs the verb on the selected folder ("Open" in the desktop's own file manager).
    void runVerb(const QString& verb);

    TFileType m_folderType = TFileAttr::ftReadOnly | TFileAttr::ftHidden | TFileAttr::ftSystem | TFileAttr::ftArchive;
    QPointer<BrowseNavigator> m_navigator;
    TTabControlDriveFol* m_driveTabs = nullptr;
    bool m_singleDrive = false;
    bool m_popUpMenuEnabled = true;
    QString m_selectedPath;
    QString m_previousPath;
    QString m_selectedFile;
    QString m_currentFolder;
    FolderDrag m_drag;
    QSet<QPersistentModelIndex> m_syncAgain; // nodes to read again once their reading is in
    QString m_dragPath; // the folder chosen by the last press, empty for the root and drives
    std::shared_ptr<WorkerLink> m_link; // the readings of the current build
    int m_reading = 0;
};
