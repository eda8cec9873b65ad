#pragma once
// The "Drive" menu and the file-manager tool buttons around it: refresh (F5), the
// single/all drives switch, the drive-type tabs, the network-drive items and formatting,
// the desktop button, and the details button with its view-style and sort menu.
//
// A browse-feature controller over the window's context and the browse widgets. It stays
// in app/ because the view-style buttons work on the stored FileViewIndex numbering of
// the window's settings glue (MainWindowSettings).

#include "browse/BrowsePaneLinks.h"

#include <QObject>

class QAction;
class QMenu;
class QToolButton;
class WindowContext;

class MainWindowDriveMenu : public QObject {
    Q_OBJECT
public:
    MainWindowDriveMenu(WindowContext& context, const BrowseWidgets& browse);

    QAction* MenuRefresh() const { return m_refresh; }
    QMenu* PopupMenuFileDisplay() const { return m_display; }

    // The captions of the single/all switch for the tree's current mode.
    static QString singleDriveCaption(bool singleDrive);
    static QString showDriveTabsCaption(bool showDrives);

    void MenuDriveClick();
    void MenuSingleDriveClick();
    void MenuShowDriveTabsClick();
    void MenuRefreshClick();
    void ButtonDeskTopClick();
    void ButtonDetailTypeClick();
    void PopupMenuFileDisplayPopup();

private:
    void buildDriveMenu(QMenu* drive);
    void buildDisplayMenu();
    void setFileViewIndex(int index);
    void setFileSortIndex(int index);
    void showSingleDriveState();

    WindowContext& m_context;
    BrowseWidgets m_browse;
    QAction* m_refresh = nullptr;
    QAction* m_singleDrive = nullptr;
    QAction* m_showDriveTabs = nullptr;
    QAction* m_disconnect = nullptr;
    QAction* m_format = nullptr;
    QToolButton* m_singleDriveButton = nullptr;
    QMenu* m_display = nullptr;
    QList<QAction*> m_styles;
    QList<QAction*> m_sorts;
};
