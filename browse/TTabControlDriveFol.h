#pragma once
// The drive tab strip: one tab per drive (mounted volume), each holding the last folder
// visited on that drive. Clicking a tab asks the navigator to go to that folder; a drive
// that is not ready is reported and not entered. The selected tab follows the navigator's
// folder, so clicking it later returns there. Shown while the tree is in single-drive mode.

#include "browse/BrowseNavigator.h"
#include "browse/DriveTabList.h"
#include "browse/FolderDrag.h"

#include <QPointer>
#include <QTabBar>

class TPathViewFol;

class TTabControlDriveFol : public QTabBar {
    Q_OBJECT
public:
    explicit TTabControlDriveFol(QWidget* parent = nullptr);

    BrowseNavigator* navigator() const { return m_navigator; }
    // Follows navigator from now on: the tabs are built for its folder.
    void setNavigator(BrowseNavigator* navigator);
    // What the strip does when the navigator reaches folder: the tab of its drive is
    // selected and holds it (the drives are read again on a reload or for a new drive).
    void followFolder(const QString& folder, BrowseNavigator::Change change);
    // The tree whose popup the strip shows (its items act on the tree's node).
    TPathViewFol* TreeView() const { return m_treeView; }
    void setTreeView(TPathViewFol* tree) { m_treeView = tree; }
    // Tall tabs with the drive icon (on) or short tabs with the path only (off).
    bool ShowDrives() const { return m_showDrives; }
    void setShowDrives(bool show);
    bool PopUpMenuEnabled() const { return m_popUpMenuEnabled; }
    void setPopUpMenuEnabled(bool enabled) { m_popUpMenuEnabled = enabled; }

    // Rebuilds the tabs from the drives: every tab keeps the folder it held (a new drive its
    // root), except the tab of the drive of the current folder, which holds that folder and
    // is selected.
    void RefreshDrivetabs();
    void setSelectedTabText(const QString& path);
    const DriveTabList& tabList() const { return m_tabs; }

    // The text of the not-ready box for a drive: "CDROM drive /media/cdrom0:" etc.
    static QString notReadyPrefix(const DriveInfo& drive);

protected:
    QSize tabSizeHint(int index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void TabChoice();
    void showTabs();
    void reportNotReady(const DriveInfo& drive);

    TPathViewFol* m_treeView = nullptr;
    QPointer<BrowseNavigator> m_navigator;
    // The last real folder followed (not the drives view), without a trailing "/".
    QString m_folder;
    DriveTabList m_tabs;
    bool m_showDrives = true;
    bool m_popUpMenuEnabled = true;
    FolderDrag m_drag;
};
