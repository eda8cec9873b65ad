#pragma once
// The main window's File Tools: the items of the "File Tools" menu (MenuFileTools) and of the
// list popup's "File Tools" submenu (PopupFileTools), their captions (set as each menu opens,
// from the count of selected list items only: opening a menu never walks a folder), and
// their handlers. A batch tool collects its work list when it is chosen (a job with a count
// and Cancel), asks the confirmation dialog, and runs the batch loop in the progress dialog.

#include "fileops/BatchActions.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class TFileViewFol;
class TransferMenus;
class WindowContext;

class FileToolsMenus final : public QObject {
    Q_OBJECT
public:
    FileToolsMenus(WindowContext& context, TransferMenus& transfer);

    // The list whose selection the captions count.
    void setList(TFileViewFol* list);
    QMenu* PopupFileTools() const { return m_popup; }

    void MenuChgExtClick() { runBatchTool(opChangeExtension); }
    void MenuMakeNumberedFilesClick() { runBatchTool(opMakeNumberFiles); }
    void MenuAppendFileClick() { runBatchTool(opAppendFiles); }
    void MenuSearchReplaceFilenameClick() { runBatchTool(opSearchReplace); }
    void MenuAttrClick() { runBatchTool(opChangeAttributes); }
    void MenuMakeShortCutClick();
    void MenuMakeShortcuttoDesktopClick();
    void MenuSavePathFileClipboardClick();
    void MenuPathFileToTextFileClick();

    // The menus' opening steps: captions and enabling.
    void MenuFileToolsClick();
    void PopupMenuFilePopup();

private:
    QAction* add(QMenu* menu, const char* name, void (FileToolsMenus::*handler)());
    void setBatchCaptions(const char* prefix, int n);
    int selectedCount() const;
    void runBatchTool(OperationCode code);

    WindowContext& m_context;
    TransferMenus& m_transfer;
    QPointer<TFileViewFol> m_list;
    QMenu* m_menu = nullptr;
    QMenu* m_popup = nullptr;
};
