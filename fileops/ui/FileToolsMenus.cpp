#include "fileops/ui/FileToolsMenus.h"

#include "browse/TFileViewFol.h"
#include "browse/TFileViewFolPopUp.h"
#include "fileops/WorkList.h"
#include "fileops/tools/FileToolBranches.h"
#include "fileops/tools/FileToolCaptions.h"
#include "fileops/tools/FileToolCommands.h"
#include "fileops/ui/TFolProgress_Dlg.h"
#include "fileops/ui/TransferMenus.h"
#include "platform/ChangeNotices.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"

#include <QAbstractItemView>
#include <QAction>
#include <QItemSelectionModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <vector>

namespace {

using Item = FileToolCaptions::Item;

// The batch items, their handlers and caption forms, in menu order.
struct BatchItemEntry {
    const char* name;
    void (FileToolsMenus::*handler)();
    Item caption;
};

const BatchItemEntry kBatchItems[] = {
    {"ChgExt", &FileToolsMenus::MenuChgExtClick, Item::ChangeExtension},
    {"MakeNumberedFiles", &FileToolsMenus::MenuMakeNumberedFilesClick, Item::MakeNumbered},
    {"AppendFile", &FileToolsMenus::MenuAppendFileClick, Item::Append},
    {"SearchReplaceFilename", &FileToolsMenus::MenuSearchReplaceFilenameClick, Item::SearchReplace},
    {"Attr", &FileToolsMenus::MenuAttrClick, Item::Attributes},
};

QByteArray itemName(const char* prefix, const char* name)
{
    return QByteArray(prefix) + name;
}

} // namespace

FileToolsMenus::FileToolsMenus(WindowContext& context, TransferMenus& transfer)
    : QObject(context.window()), m_context(context), m_transfer(transfer)
{
    FileToolBranches::registerAll();
    m_menu = context.menu(MainMenu::FileTools);
    m_popup = new QMenu(QStringLiteral("File Tools"), transfer.PopupMenuFile());
    m_popup->setObjectName(QStringLiteral("PopupFileTools"));
    transfer.PopupMenuFile()->addSeparator();
    transfer.PopupMenuFile()->addMenu(m_popup);
    for (const BatchItemEntry& entry : kBatchItems) {
        add(m_menu, itemName("Menu", entry.name), entry.handler);
        add(m_popup, itemName("Popup", entry.name), entry.handler);
    }
    m_menu->addSeparator();
    add(m_menu, "MenuMakeShortCut", &FileToolsMenus::MenuMakeShortCutClick);
    add(m_menu, "MenuMakeShortcuttoDesktop", &FileToolsMenus::MenuMakeShortcuttoDesktopClick);
    add(m_menu, "MenuSavePathFileClipboard", &FileToolsMenus::MenuSavePathFileClipboardClick);
    add(m_menu, "MenuPathFileToTextFile", &FileToolsMenus::MenuPathFileToTextFileClick);
    m_popup->addSeparator();
    add(m_popup, "PopupSavePathFileClipboard", &FileToolsMenus::MenuSavePathFileClipboardClick);
    add(m_popup, "PopupPathFileToTextFile", &FileToolsMenus::MenuPathFileToTextFileClick);
    connect(m_menu, &QMenu::aboutToShow, this, &FileToolsMenus::MenuFileToolsClick);
    connect(transfer.PopupMenuFile(), &QMenu::aboutToShow, this, &FileToolsMenus::PopupMenuFilePopup);
}

QAction* FileToolsMenus::add(QMenu* menu, const char* name, void (FileToolsMenus::*handler)())
{
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void FileToolsMenus::setList(TFileViewFol* list)
{
    m_list = list;
}

// From the selection's ranges, merged: asking for the selected rows one by one would make
// a menu over a hundred thousand selected rows open slowly.
int FileToolsMenus::selectedCount() const
{
    if (!m_list)
        return m_transfer.panes().selectedCount();
    const QItemSelectionModel* selection = m_list->currentView()->selectionModel();
    if (!selection)
        return 0;
    std::vector<std::pair<int, int>> rows;
    for (const QItemSelectionRange& range : selection->selection()) {
        if (range.left() == 0)
            rows.emplace_back(range.top(), range.bottom());
    }
    std::sort(rows.begin(), rows.end());
    int count = 0;
    int next = 0; // the first row not counted yet
    for (const auto& [top, bottom] : rows) {
        const int from = std::max(top, next);
        if (bottom >= from)
            count += bottom - from + 1;
        next = std::max(next, bottom + 1);
    }
    return count;
}

void FileToolsMenus::setBatchCaptions(const char* prefix, int n)
{
    for (const BatchItemEntry& entry : kBatchItems) {
        QAction* action = m_transfer.action(itemName(prefix, entry.name).constData());
        action->setText(FileToolCaptions::caption(entry.caption, n));
        action->setEnabled(n >= 1);
    }
}

void FileToolsMenus::MenuFileToolsClick()
{
    BrowsePanes& panes = m_transfer.panes();
    const bool treeActive = panes.treeIsActive();
    const int selected = selectedCount();
    const int n = treeActive ? 0 : selected;
    setBatchCaptions("Menu", selected);
    const QString listFolder = panes.listDirectory();
    const QString treeFolder = panes.treeSelectedPath();
    QAction* clipboard = m_transfer.action("MenuSavePathFileClipboard");
    QAction* textFile = m_transfer.action("MenuPathFileToTextFile");
    clipboard->setText(treeActive ? FileToolCaptions::treeSaveToClipboard(treeFolder)
                                  : FileToolCaptions::caption(Item::SaveToClipboard, n));
    textFile->setText(treeActive ? FileToolCaptions::treeSaveToTextFile(treeFolder)
                                 : FileToolCaptions::caption(Item::SaveToTextFile, n));
    m_transfer.action("MenuMakeShortCut")->setText(FileToolCaptions::caption(Item::ShortcutIn, n, listFolder));
    m_transfer.action("MenuMakeShortcuttoDesktop")->setText(FileToolCaptions::caption(Item::ShortcutToDesktop, n, listFolder));
    const bool notRoot = panes.treeSelectedLevel() > 0;
    for (const char* name : {"MenuSavePathFileClipboard", "MenuPathFileToTextFile", "MenuMakeShortCut", "MenuMakeShortcuttoDesktop"})
        m_transfer.action(name)->setVisible(notRoot);
}

void FileToolsMenus::PopupMenuFilePopup()
{
    const int n = selectedCount();
    setBatchCaptions("Popup", n);
    m_transfer.action("PopupSavePathFileClipboard")->setText(FileToolCaptions::caption(Item::PopupSaveToClipboard, n));
    QAction* textFile = m_transfer.action("PopupPathFileToTextFile");
    textFile->setText(FileToolCaptions::caption(Item::PopupSaveToTextFile, n));
    textFile->setEnabled(n >= 1);
}

// The work list is collected when a tool is chosen, so the confirmation dialog counts the
// real files; a big selection shows the progress window with Cancel.
void FileToolsMenus::runBatchTool(OperationCode code)
{
    if (m_context.currentMode() != vmFileManager || !m_transfer.collectWorkList(m_transfer.panes().listEntries()))
        return;
    const QString target = m_transfer.askActionTarget(code);
    ConfirmResults& options = m_transfer.confirmResults();
    if (target.isEmpty() || !FileToolBranches::hasInput(code, options))
        return;
    RunBatchDialog(m_context.window(), FileToolBranches::progressCaption(code), code, m_transfer.workList(), options, false);
    NotifyChange(code == opChangeAttributes ? ChangeEvent::Attributes : ChangeEvent::UpdateDir, PathText::withoutTrailingSlash(target));
    m_transfer.panes().refreshList();
    if (code != opChangeAttributes)
        m_context.updateRecentPaths(m_transfer.panes().treeSelectedPath());
}

void FileToolsMenus::MenuMakeShortCutClick()
{
    FileToolCommands(m_transfer.panes()).makeShortcutIn();
}

void FileToolsMenus::MenuMakeShortcuttoDesktopClick()
{
    FileToolCommands(m_transfer.panes()).makeShortcutOnDesktop();
}

void FileToolsMenus::MenuSavePathFileClipboardClick()
{
    BrowsePanes& panes = m_transfer.panes();
    QStringList selected;
    if (!panes.treeIsActive()) {
        for (const ListEntry& entry : panes.selectedEntries())
            selected << entry.fullPath;
    }
    const QString text = TFileViewFolPopUp::clipboardText(panes.treeSelectedPath(), selected);
    Prompter::instance().information(QStringLiteral("The following has been saved to the clipboard.\r\n"
                                                    "You may now paste this into any other applications as text.\r\n\r\n")
                                     + text);
    // Other programs get the very bytes of the paths as plain text.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), FileName::encode(text));
    QGuiApplication::clipboard()->setMimeData(data);
}

void FileToolsMenus::MenuPathFileToTextFileClick()
{
    const QString path = FileToolCommands(m_transfer.panes()).pathsToTextFile();
    if (path.isEmpty())
        return;
    m_transfer.panes().refreshList();
    m_context.switchMode(vmTextEditor, path);
}
