#pragma once
// The drive tab strip: one tab per drive (mounted volume), each holding the last folder
// visited on that drive. Clicking a tab moves the linked folder tree, and the tree's file
// list with it, to that folder; a drive that is not ready is reported and not entered.
// Shown while the tree is in single-drive mode.

#include "browse/DriveTabList.h"
#include "browse/FolderDrag.h"

#include <QTabBar>

class TPathViewFol;

class TTabControlDriveFol : public QTabBar {
    Q_OBJECT
public:
    explicit TTabControlDriveFol(QWidget* parent = nullptr);

    TPathViewFol* TreeView() const { return m_treeView; }
    void setTreeView(TPathViewFol* tree);
    // Tall tabs with the drive icon (on) or short tabs with the path only (off).
    bool ShowDrives() const { return m_showDrives; }
    void setShowDrives(bool show);
    bool PopUpMenuEnabled() const { return m_popUpMenuEnabled; }
    void setPopUpMenuEnabled(bool enabled) { m_popUpMenuEnabled = enabled; }

    // Rebuilds the tabs from the drives: every tab holds its root, except the tab of the
    // drive of the tree's current folder, which holds that folder and is selected.
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
    void enter(const DriveTabList::Tab& tab, const QString& folder);
    void reportNotReady(const DriveInfo& drive);

    TPathViewFol* m_treeView = nullptr;
    DriveTabList m_tabs;
    bool m_showDrives = true;
    bool m_popUpMenuEnabled = true;
    FolderDrag m_drag;
};
