#pragma once
// The folder context menu PopupMenuPath, shared by the folder tree and the drive tabs: it
// acts on the tree's selected node. Its items are shown by the node's level when the menu
// opens. The transfer items and the commands of other parts of the program are signals
// that those parts connect.
//
// A browse-feature controller over the window's context and the browse widgets; it stays
// in app/ beside the Drive menu whose items and captions it shares.

#include "browse/BrowsePaneLinks.h"

#include <QObject>

class QAction;
class QMenu;
class QPoint;
class MainWindowDriveMenu;
class WindowContext;

class MainWindowFolderMenu : public QObject {
    Q_OBJECT
public:
    MainWindowFolderMenu(WindowContext& context, const BrowseWidgets& browse, MainWindowDriveMenu* drives);

    QMenu* PopupMenuPath() const { return m_menu; }
    // Whether the tree holds a folder waiting to be pasted (set by the transfer commands).
    void setFolderPastePending(bool pending) { m_pastePending = pending; }

    void PopupMenuPathPopup();
    void PopUpPathCollapseExpandClick();
    void popup(const QPoint& globalPosition);

Q_SIGNALS:
    void findRequested();
    void folderCopyToRequested();
    void folderMoveToRequested();
    void zipFolderRequested();
    void folderCutRequested();
    void folderCopyRequested();
    void folderPasteRequested();
    void folderDeleteRequested();
    void folderRenameRequested();
    void newFolderRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption);
    void buildDrives(QMenu* drives);
    void buildSend(QMenu* send);
    void makeShortcut(const QString& folder);

    BrowseWidgets m_browse;
    MainWindowDriveMenu* m_drives;
    QMenu* m_menu;
    bool m_pastePending = false;
};
