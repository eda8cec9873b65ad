#pragma once
// The main window's transfer commands: the File and Edit menu items and the list popup
// PopupMenuFile of copy, cut, paste, delete, rename, new folder, new text file, copy to, move
// to, properties and select all, their handlers (MenuCopyClick, ...) and enabling rules
// (MenuFileClick, PopupMenuFilePopup); the tree's steps for the folder popup (tree...); the
// list's own transfer keys and popup items. Also keeps what the main window keeps for the
// batch commands: the work list and the confirmation dialog's results.
//
// The handlers act in the file manager mode; the viewer panes add theirs when they arrive.
// Delete, Copy to, Move to and Properties triggered with a path in the action's data act on
// that file instead of the active pane's selection: the picture and movie menu's items name
// the file the viewer shows, whichever pane had the focus last.
// The controller reaches the window through its WindowContext only.

#include "fileops/BatchActions.h"
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
class WindowContext;

class TransferMenus final : public QObject {
    Q_OBJECT
public:
    // Adds the items to the window's File and Edit menus and builds the two popups.
    explicit TransferMenus(WindowContext& context);

    // The browse components; the list's own transfer keys and popup items reach the commands.
    void setPanes(TPathViewFol* tree, TFileViewFol* list);

    TransferCommands& commands() { return *m_commands; }
    BrowsePanes& panes() { return *m_panes; }
    QMenu* PopupMenuFile() const { return m_popupFile; }
    QAction* action(const char* name) const;

    // The work list of the batch commands.
    const QStringList& workList() const { return m_workList; }
    void CollectSelectedFiles(bool wholeList);
    // A work list collected elsewhere (a job run when a tool is chosen).
    void setWorkList(const QStringList& files) { m_workList = files; }
    // The files of rows (folders walked whole) as the work list, collected by a job that
    // shows "Collecting files..."; keep, when given, picks the files the command takes. A
    // cancelled walk leaves the list empty. Whether any file came.
    bool collectWorkList(const QList<ListEntry>& rows, const std::function<QStringList(const QStringList&)>& keep = {});
    ConfirmResults& confirmResults() { return m_confirmResults; }
    // AskActionTarget for a batch command: proposes the tree's folder, tells the dialog the
    // work list and the list's selected file, and keeps the extension index in step with the
    // main window's settings. The confirmed target, empty after Cancel. proposal, when
    // given, is proposed instead of the tree's folder (an archive's path).
    QString askActionTarget(OperationCode action, const QString& proposal = QString());

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

    // The folder popup's transfer items: the tree's steps, whichever pane has the focus.
    void treeCopy(bool move);
    void treePaste();
    void treeDelete();
    void treeRename();
    void treeNewFolder();
    void treeCopyTo(bool move);

Q_SIGNALS:
    // The tree holds a folder waiting to be pasted (the folder popup shows Paste), or not.
    void treePastePendingChanged(bool pending);

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption, void (TransferMenus::*handler)(),
                 const QKeySequence& key = QKeySequence());
    void buildPopups();
    void listCopyTo(bool move);
    void onTree(const std::function<void()>& command);
    void afterChange();
    bool inFileManager() const;
    // The path in the data of the action being run, empty when none names a file.
    QString namedFile() const;
    void sendNamedOrSelected(bool move);

    WindowContext& m_context;
    QWidget* m_window;
    FileClipboard m_clipboard;
    WidgetBrowsePanes* m_panes;
    std::unique_ptr<TransferCommands> m_commands;
    QMenu* m_popupFile = nullptr;
    QStringList m_workList;
    ConfirmResults m_confirmResults;
};
