#pragma once
// The main window's transfer commands: the File and Edit menu items, the list popup
// PopupMenuFile and the tree popup PopupMenuPath items of copy, cut, paste, delete, rename,
// new folder, new text file, copy to, move to, properties and select all, their handlers
// (MenuCopyClick, ...) and enabling rules (MenuFileClick, PopupMenuFilePopup,
// PopupMenuPathPopup). Also keeps what the main window keeps for the batch commands: the
// work list and the confirmation dialog's results.
//
// The handlers act in the file manager mode; the viewer panes add theirs through the
// mode hooks when they arrive.

#include "fileops/ConfirmActions.h"
#include "fileops/FileClipboard.h"
#include "fileops/TransferCommands.h"
#include "fileops/ui/WidgetBrowsePanes.h"

#include <QKeySequence>
#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

class TransferMenus final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> inFileManager;           // CurrentMode is the file manager
        std::function<void()> returnToFileManager;     // SwitchViewMode(vmFileManager, ...)
        std::function<void(const QString&)> updateRecentPaths; // UpdateRecentPaths(tree's folder)
        QString settingsPath;
        int* extIndex = nullptr; // the main window's ExtIndex, written by its SaveSettings
    };

    // Adds the items to the window's File and Edit menus and builds the two popups.
    TransferMenus(QWidget* window, QMenu* fileMenu, QMenu* editMenu, Hooks hooks);

    // The browse components: the popups and the list's own transfer keys reach the
    // commands. driveTabs shares the tree's popup.
    void setPanes(TPathViewFol* tree, TFileViewFol* list, QWidget* driveTabs = nullptr);

    TransferCommands& commands() { return *m_commands; }
    BrowsePanes& panes() { return *m_panes; }
    QMenu* PopupMenuFile() const { return m_popupFile; }
    QMenu* PopupMenuPath() const { return m_popupPath; }
    QAction* action(const char* name) const;

    // The work list of the batch commands.
    const QStringList& workList() const { return m_workList; }
    void CollectSelectedFiles(bool wholeList);
    ConfirmResults& confirmResults() { return m_confirmResults; }
    // AskActionTarget for a batch command: proposes the tree's folder, tells the dialog the
    // work list and the list's selected file, and keeps the extension index in step with the
    // main window's settings. The confirmed target, empty after Cancel.
    QString askActionTarget(const QString& action);

    void MenuCopyClick();
    void MenuCutClick();
    void MenuPasteClick();
    void MenuDeleteClick();
    void MenuRenameClick();
    void MenuNewFolderClick();
    void MenuNewTextFileClick();
    void MenuCopyToClick();
    void MenuMoveToClick();
    void MenuPropertiesClick();
    void MenuSelectAllClick();
    void MenuFileClick();
    void PopupMenuFilePopup();
    void PopupMenuPathPopup();

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption, void (TransferMenus::*handler)(),
                 const QKeySequence& key = QKeySequence());
    void buildPopups();
    void listCopyTo(bool move);
    void afterChange();

    QWidget* m_window;
    Hooks m_hooks;
    FileClipboard m_clipboard;
    WidgetBrowsePanes* m_panes;
    std::unique_ptr<TransferCommands> m_commands;
    QMenu* m_popupFile = nullptr;
    QMenu* m_popupPath = nullptr;
    QStringList m_workList;
    ConfirmResults m_confirmResults;
};
