#pragma once
// The accessories in the main window's menus and bands: the log-off and power menu of the
// command-prompt button, the CD player, the volume mixer, the desktop's own file manager
// and search at the tree's folder (also from the file list popup's "Find ..."), the
// calendar, the about box and mail.

#include <QObject>

#include <functional>

#include "accessories/SystemCommands.h"

class MailCommand;
class QAction;
class QMenu;
class WindowContext;

class AccessoryMenus : public QObject {
    Q_OBJECT
public:
    // versionText: the about box's version line. closeWindow: the main window's normal close.
    AccessoryMenus(WindowContext& context, MailCommand* mail, QString versionText, std::function<void()> closeWindow);

    QMenu* PopupMenu_C_Prompt() const { return m_systemMenu; }
    void runSystemCommand(SystemCommand command);
    void MenuCDClick();
    void MenuWindowsVolumeClick();
    void MenuCalClockClick();
    void MenuAboutClick();

Q_SIGNALS:
    // The tree's "Windows Explore" and "Windows Search" (the Search menu runs them too).
    void exploreRequested();
    void searchRequested();

private:
    void buildSystemMenu();
    void buildMenus();
    void buildMailEntries();
    void buildListFind();
    QAction* add(QMenu* menu, const char* name, const QString& caption);

    WindowContext& m_context;
    MailCommand* m_mail;
    QString m_versionText;
    std::function<void()> m_closeWindow;
    QMenu* m_systemMenu = nullptr;
};
