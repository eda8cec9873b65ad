#include "fileops/ui/TransferMenus.h"

#include "fileops/WorkList.h"
#include "fileops/ui/AskActionTarget.h"
#include "platform/JobWaiter.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/PropertiesDialog.h"
#include "platform/ui/WindowContext.h"

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/ui/FileAction.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

TransferMenus::TransferMenus(WindowContext& context)
    : QObject(context.window())
    , m_context(context)
    , m_window(context.window())
    , m_panes(new WidgetBrowsePanes(nullptr, nullptr, this))
{
    m_commands = std::make_unique<TransferCommands>(*m_panes, m_clipboard);
    m_commands->setAfterChange([this] { afterChange(); });
    m_commands->setReturnToFileManager([this] { m_context.switchMode(vmFileManager); });
    m_panes->setOnTreeRename([this](const QString& path, const QString& text) { m_commands->renameTreeFolder(path, text); });
    m_panes->setOnListRename([this](const QString& path, const QString& text, const QString& kind) {
        m_commands->renameListItem(path, text, kind);
    });

    QMenu* fileMenu = context.menu(MainMenu::File);
    QMenu* editMenu = context.menu(MainMenu::Edit);
    QAction* first = fileMenu->actions().isEmpty() ? nullptr : fileMenu->actions().first();
    QMenu* items = new QMenu(fileMenu);
    add(items, "MenuNewFolder", QStringLiteral("New Folder"), &TransferMenus::MenuNewFolderClick);
    add(items, "MenuNewTextFile", QStringLiteral("New Text File"), &TransferMenus::MenuNewTextFileClick);
    QMenu* send = items->addMenu(QStringLiteral("Send ..."));
    send->setObjectName(QStringLiteral("MenuSend"));
    add(send, "MenuCopyTo", QStringLiteral("Copy file(s) to..."), &TransferMenus::MenuCopyToClick);
    add(send, "MenuMoveTo", QStringLiteral("Move file(s) to..."), &TransferMenus::MenuMoveToClick);
    add(items, "MenuProperties", QStringLiteral("Properties"), &TransferMenus::MenuPropertiesClick);
    items->addSeparator();
    fileMenu->insertActions(first, items->actions());
    connect(fileMenu, &QMenu::aboutToShow, this, &TransferMenus::MenuFileClick);

    add(editMenu, "MenuCut", QStringLiteral("Cu&t"), &TransferMenus::MenuCutClick, QKeySequence(Qt::CTRL | Qt::Key_X));
    add(editMenu, "MenuCopy", QStringLiteral("&Copy"), &TransferMenus::MenuCopyClick, QKeySequence(Qt::CTRL | Qt::Key_C));
    add(editMenu, "MenuPaste", QStringLiteral("&Paste"), &TransferMenus::MenuPasteClick, QKeySequence(Qt::CTRL | Qt::Key_V));
    add(editMenu, "MenuDelete", QStringLiteral("&Delete"), &TransferMenus::MenuDeleteClick, QKeySequence(Qt::Key_Delete));
    add(editMenu, "MenuRename", QStringLiteral("&Rename"), &TransferMenus::MenuRenameClick);
    editMenu->addSeparator();
    add(editMenu, "MenuSelectAll", QStringLiteral("Select &All"), &TransferMenus::MenuSelectAllClick,
        QKeySequence(Qt::CTRL | Qt::Key_A));
    buildPopups();
    connect(context.button(BandButton::NewTextFile), &QToolButton::clicked, this, &TransferMenus::MenuNewTextFileClick);
}

QAction* TransferMenus::add(QMenu* menu, const char* name, const QString& caption, void (TransferMenus::*handler)(),
                            const QKeySequence& key)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        // The window's shortcuts win over the focused control's own bindings.
        action->setShortcutContext(Qt::WindowShortcut);
        m_window->addAction(action);
    }
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TransferMenus::buildPopups()
{
    m_popupFile = new QMenu(m_window);
    m_popupFile->setObjectName(QStringLiteral("PopupMenuFile"));
    add(m_popupFile, "PopupCut", QStringLiteral("Cut"), &TransferMenus::MenuCutClick);
    add(m_popupFile, "PopupCopy", QStringLiteral("Copy"), &TransferMenus::MenuCopyClick);
    add(m_popupFile, "PopupPaste", QStringLiteral("Paste"), &TransferMenus::MenuPasteClick);
    m_popupFile->addSeparator();
    add(m_popupFile, "PopupDelete", QStringLiteral("Delete"), &TransferMenus::MenuDeleteClick);
    add(m_popupFile, "PopupRename", QStringLiteral("Rename"), &TransferMenus::MenuRenameClick);
    add(m_popupFile, "PopupSendCopy", QStringLiteral("Send copy files to ..."), &TransferMenus::MenuCopyToClick);
    add(m_popupFile, "PopupMoveTo", QStringLiteral("Move files to ..."), &TransferMenus::MenuMoveToClick);
    m_popupFile->addSeparator();
    add(m_popupFile, "PopupNewFolder", QStringLiteral("New Folder"), &TransferMenus::MenuNewFolderClick);
    add(m_popupFile, "PopupNewTextFile", QStringLiteral("New Text File"), &TransferMenus::MenuNewTextFileClick);
    add(m_popupFile, "PopupProperties", QStringLiteral("Properties"), &TransferMenus::MenuPropertiesClick);
    connect(m_popupFile, &QMenu::aboutToShow, this, &TransferMenus::PopupMenuFilePopup);

}

QAction* TransferMenus::action(const char* name) const
{
    return m_window->findChild<QAction*>(QLatin1String(name));
}

void TransferMenus::setPanes(TPathViewFol* tree, TFileViewFol* list)
{
    m_panes->setWidgets(tree, list);
    if (!list)
        return;
    // The list's own popup and keys run the list's steps; with its popup switched off, the
    // window's PopupMenuFile shows instead.
    connect(list, &TFileViewFol::contextMenuRequested, this, [this, list](const QPoint& at) {
        list->currentView()->setFocus();
        m_panes->setTreeActive(false);
        m_popupFile->popup(at);
    });
    connect(list, &TFileViewFol::copyRequested, this, [this] { m_commands->copyList(false); });
    connect(list, &TFileViewFol::cutRequested, this, [this] { m_commands->copyList(true); });
    connect(list, &TFileViewFol::pasteRequested, this, [this] {
        m_commands->pasteList();
        afterChange();
    });
    connect(list, &TFileViewFol::deleteRequested, this, [this] {
        m_commands->deleteList();
        afterChange();
    });
    connect(list, &TFileViewFol::renameRequested, this, [this] {
        m_commands->startListRename();
        afterChange();
    });
    connect(list, &TFileViewFol::newFolderRequested, this, [this] { m_commands->newFolderInList(); });
    connect(list, &TFileViewFol::copyToRequested, this, [this] { listCopyTo(false); });
    connect(list, &TFileViewFol::moveToRequested, this, [this] { listCopyTo(true); });
}

void TransferMenus::onTree(const std::function<void()>& command)
{
    m_panes->setForcedPane(WidgetBrowsePanes::Pane::Tree);
    command();
    m_panes->setForcedPane(WidgetBrowsePanes::Pane::Focused);
    Q_EMIT treePastePendingChanged(m_clipboard.pastePending());
}

void TransferMenus::treeCopy(bool move)
{
    onTree([&] { m_commands->copy(move); });
}

void TransferMenus::treePaste()
{
    onTree([&] { m_commands->paste(); });
}

void TransferMenus::treeDelete()
{
    onTree([&] { m_commands->deleteSelected(); });
}

void TransferMenus::treeRename()
{
    onTree([&] { m_commands->startRename(); });
}

void TransferMenus::treeNewFolder()
{
    onTree([&] { m_commands->newFolder(); });
}

void TransferMenus::treeCopyTo(bool move)
{
    onTree([&] { m_commands->copyTo(move); });
}

void TransferMenus::listCopyTo(bool move)
{
    m_panes->setTreeActive(false);
    m_commands->copyTo(move);
}

void TransferMenus::afterChange()
{
    m_context.updateRecentPaths(m_panes->treeSelectedPath());
}

bool TransferMenus::inFileManager() const
{
    return m_context.currentMode() == vmFileManager;
}

void TransferMenus::CollectSelectedFiles(bool wholeList)
{
    m_workList = ::CollectSelectedFiles(m_panes->listEntries(), wholeList);
}

bool TransferMenus::collectWorkList(const QList<ListEntry>& rows, const std::function<QStringList(const QStringList&)>& keep)
{
    WorkListJob job(rows, false);
    RunJob(job, QStringLiteral("Collecting files..."));
    if (job.isCancelled())
        m_workList.clear();
    else
        m_workList = keep ? keep(job.files()) : job.files();
    return !m_workList.isEmpty();
}

QString TransferMenus::askActionTarget(OperationCode action, const QString& proposal)
{
    ActionTargetRequest request;
    request.action = action;
    request.proposedPath = proposal.isEmpty() ? PathText::withTrailingSlash(m_panes->treeSelectedPath()) : proposal;
    request.workList = m_workList;
    const QList<ListEntry> selected = m_panes->selectedEntries();
    request.selectedFile = selected.isEmpty() ? QString() : selected.first().fullPath;
    request.settingsPath = m_context.settingsFile();
    int& extIndex = m_context.historyIndex(HistoryIndex::Ext);
    m_confirmResults.extIndex = extIndex;
    const QString target = AskActionTarget(m_window, request, m_confirmResults);
    extIndex = m_confirmResults.extIndex;
    return target;
}

void TransferMenus::MenuCopyClick()
{
    if (inFileManager())
        m_commands->copy(false);
    Q_EMIT treePastePendingChanged(m_clipboard.pastePending());
}

void TransferMenus::MenuCutClick()
{
    if (inFileManager())
        m_commands->copy(true);
    Q_EMIT treePastePendingChanged(m_clipboard.pastePending());
}

// The paste key reaches here whatever the menu's enabling: with nothing to paste it does
// nothing, as the disabled item would.
void TransferMenus::MenuPasteClick()
{
    if (inFileManager() && m_commands->canPasteInActivePane())
        m_commands->paste();
    Q_EMIT treePastePendingChanged(m_clipboard.pastePending());
}

void TransferMenus::MenuDeleteClick()
{
    if (!inFileManager())
        return;
    const QString file = namedFile();
    if (file.isEmpty())
        m_commands->deleteSelected();
    else
        m_commands->deleteFile(file);
}

void TransferMenus::MenuRenameClick()
{
    if (inFileManager())
        m_commands->startRename();
}

void TransferMenus::MenuNewFolderClick()
{
    m_commands->newFolder();
}

void TransferMenus::MenuNewTextFileClick()
{
    // Opened in the text editor once it exists; until then created and selected in the list.
    m_commands->newTextFile();
}

void TransferMenus::MenuCopyToClick()
{
    sendNamedOrSelected(false);
}

void TransferMenus::MenuMoveToClick()
{
    sendNamedOrSelected(true);
}

void TransferMenus::sendNamedOrSelected(bool move)
{
    const QString file = namedFile();
    if (file.isEmpty())
        m_commands->copyTo(move);
    else
        m_commands->copyFileTo(file, move);
}

QString TransferMenus::namedFile() const
{
    return FileAction::fileOf(sender());
}

void TransferMenus::MenuPropertiesClick()
{
    const QString file = namedFile();
    const QString path = file.isEmpty() ? m_commands->propertiesPath() : file;
    if (path.isEmpty())
        return;
    const QString error = ShowProperties(path, m_window);
    if (!error.isEmpty())
        Prompter::instance().information(error);
}

void TransferMenus::MenuSelectAllClick()
{
    if (inFileManager())
        m_commands->selectAll();
}

void TransferMenus::MenuFileClick()
{
    const TransferCommands::FileMenuState state = m_commands->fileMenuState();
    action("MenuNewTextFile")->setVisible(state.newTextFile);
    action("MenuNewFolder")->setVisible(state.newFolder);
    action("MenuProperties")->setVisible(state.properties);
    m_window->findChild<QMenu*>(QStringLiteral("MenuSend"))->menuAction()->setVisible(state.properties);
    action("MenuCopyTo")->setVisible(state.properties);
    action("MenuMoveTo")->setVisible(state.moveTo);
}

void TransferMenus::PopupMenuFilePopup()
{
    const TransferCommands::ListPopupState state = m_commands->listPopupState();
    for (const char* name : {"PopupCut", "PopupCopy", "PopupDelete", "PopupRename", "PopupSendCopy", "PopupMoveTo", "PopupProperties"})
        action(name)->setEnabled(state.needsSelection);
    action("PopupPaste")->setEnabled(state.paste);
    action("PopupNewFolder")->setEnabled(state.newFolder);
    m_panes->setTreeActive(false);
}
