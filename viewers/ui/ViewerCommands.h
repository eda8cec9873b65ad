#pragma once
// The main window's commands in the file viewer and text editor modes: the shared Edit menu
// items (Undo, Cut, Copy, Paste, Delete, Select All, Font, Clear All Text) and their states
// when the menu opens, File "Save", and the Search menu's "Find" (Ctrl+F) and "Replace"
// (Ctrl+H) with their loops: the find dialog shows again after every search until Cancel;
// the replace dialog asks "Replace?" for each occurrence, or replaces all at once.
//
// The Edit items of the file manager are the transfer commands' (TransferMenus); this
// controller acts on the same items only in modes 2 and 3 and adds the items those modes
// show. Find in the other modes is the file search's (SearchCommands), on the same item.

#include "viewers/text/SearchOptions.h"

#include <QObject>

#include <functional>

class FileViewerPane;
class QAction;
class QDialog;
class QMenu;
class TextEditorPane;
class WindowContext;

class ViewerCommands final : public QObject {
    Q_OBJECT
public:
    ViewerCommands(WindowContext& context, FileViewerPane& viewer, TextEditorPane& editor);

    // How a dialog is shown: exec() by default; tests answer it instead.
    void setDialogRunner(std::function<int(QDialog&)> run) { m_run = std::move(run); }
    // Find outside the viewer and the editor: the file search dialog.

    void MenuFindClick();
    void MenuReplaceClick();
    void MenuEditClick();
    void MenuSearchClick();
    void MenuFileClick();

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key, void (ViewerCommands::*handler)());
    QAction* action(const char* name) const;
    void connectShared(const char* name, void (ViewerCommands::*handler)());
    void connectPanes();
    bool inViewer() const;
    bool inEditor() const;

    void MenuUnDoClick();
    void MenuCutClick();
    void MenuCopyClick();
    void MenuPasteClick();
    void MenuDeleteClick();
    void MenuSelectAllClick();
    void MenuFontClick();
    void MenuClearAllTextClick();
    void MenuSaveClick();

    // Shows the find dialog until it is cancelled (false) or confirmed with a text.
    bool askFind(QString& text, SearchOptions& options);
    void viewerFindLoop();
    void editorFindLoop();
    // One round of the replace loop; false when the dialog was cancelled.
    bool replaceRound();
    void replaceEach(const QString& text, const QString& with, SearchOptions options);
    void triggerWindowAction(const char* name, const QString& file = QString());

    WindowContext& m_context;
    FileViewerPane& m_viewer;
    TextEditorPane& m_editor;
    std::function<int(QDialog&)> m_run;
    bool m_editMenuTouched = false;
};
