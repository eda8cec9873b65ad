#include "search/ui/SearchCommands.h"

#include "browse/BrowseNavigator.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/PathText.h"
#include "platform/ui/WindowContext.h"
#include "search/ui/TFormSearchDlg.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

SearchCommands::SearchCommands(WindowContext& context, TPathViewFol* tree, TFileViewFol* list)
    : QObject(context.window())
    , m_context(context)
    , m_tree(tree)
    , m_list(list)
{
    QMenu* search = context.menu(MainMenu::Search);
    // The text find dialog serves the same menu item in the viewer modes: one item, one key.
    m_find = search->findChild<QAction*>(QStringLiteral("MenuFind"));
    if (!m_find) {
        m_find = search->addAction(QStringLiteral("&Find"));
        m_find->setObjectName(QStringLiteral("MenuFind"));
        m_find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
        m_find->setShortcutContext(Qt::WindowShortcut);
        context.window()->addAction(m_find);
    }
    connect(m_find, &QAction::triggered, this, &SearchCommands::MenuFindClick);
    connect(context.button(BandButton::Find), &QToolButton::clicked, this, &SearchCommands::MenuFindClick);
}

void SearchCommands::MenuFindClick()
{
    const TViewMode mode = m_context.currentMode();
    if (mode == vmFileViewer || mode == vmTextEditor)
        return;
    if (m_tree && !m_tree->SingleDrive()) {
        m_tree->FindWithExplorer();
        return;
    }
    // The start folder is the tree's folder, never the process's working folder.
    BrowseNavigator& navigator = m_context.navigator();
    const QString start = navigator.isDriveView() ? QStringLiteral("/") : navigator.currentFolder();
    TFormSearchDlg dialog(m_context.settingsFile(), start, m_context.window());
    dialog.setHistoryIndexes(&m_context.historyIndex(HistoryIndex::FileStr), &m_context.historyIndex(HistoryIndex::FindStr));
    const int result = dialog.exec();
    if (!dialog.selectedPath().isEmpty())
        m_lastHit = dialog.selectedPath();
    if (result == QDialog::Accepted && !m_lastHit.isEmpty())
        goToFile(m_lastHit);
}

void SearchCommands::goToFile(const QString& path)
{
    m_context.switchMode(vmFileManager, path);
    // The file manager shows the hit in its folder, selected once the folder is listed.
    m_context.navigator().goTo(PathText::folderOf(path));
    if (m_list)
        m_list->SelectFileWhenListed(path);
}
