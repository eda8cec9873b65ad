#pragma once
// The "Drive" menu and the file-manager tool buttons around it: refresh (F5), the
// single/all drives switch, the drive-type tabs, the network-drive items and formatting,
// the desktop button, and the details button with its view-style and sort menu.

#include <QObject>

class QAction;
class QMenu;
class QToolButton;
struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowDriveMenu : public QObject {
    Q_OBJECT
public:
    MainWindowDriveMenu(TFormMainFolvane3* window, MainWindowControls& c);

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

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
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
