#include "browse/TPathViewFolPopUp.h"

#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

TPathViewFolPopUp::TPathViewFolPopUp(TPathViewFol* tree, bool forTabs, QWidget* parent)
    : QMenu(parent)
    , m_tree(tree)
    , m_node(tree->currentItem())
{
    setObjectName(forTabs ? QStringLiteral("TTabControlDriveFolPopUp") : QStringLiteral("TPathViewFolPopUp"));
    const int level = m_node ? m_node->data(0, TPathViewFol::LevelRole).toInt() : -1;
    const bool belowRoot = m_node && level != TPathViewFol::RootLevel;
    const bool belowDrive = m_node && level == TPathViewFol::FolderLevel;

    if (m_node && (m_node->childCount() > 0 || m_node->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator)) {
        QAction* expand = addItem(this, m_node->isExpanded() ? QStringLiteral("Collapse") : QStringLiteral("Expand"),
                                  "ExpandCollapseNode");
        connect(expand, &QAction::triggered, m_tree, [tree = m_tree, node = m_node] { tree->ExpandCollapse(node); });
    }
    QMenu* find = addMenu(QStringLiteral("Find..."));
    find->setObjectName(QStringLiteral("FindNode"));
    connect(addItem(find, QStringLiteral("&Open with Explorer"), "OpenNode"), &QAction::triggered, m_tree,
            &TPathViewFol::OpenWithExplorer);
    connect(addItem(find, QStringLiteral("&Find with Explorer"), forTabs ? "FindNodeTab" : "FindNodePath"), &QAction::triggered,
            m_tree, &TPathViewFol::FindWithExplorer);
    addDrivesMenu();
    addSendMenu(belowRoot);
    addSeparator();
    addNotYet(this, QStringLiteral("Cu&t"), "CutNode", belowDrive);
    addNotYet(this, QStringLiteral("&Copy"), "CopyNode", belowDrive);
    addNotYet(this, QStringLiteral("&Paste"), "PasteNode", belowDrive);
    addSeparator();
    addNotYet(this, QStringLiteral("&Delete Folder"), "DelNode", belowDrive);
    addNotYet(this, QStringLiteral("&Rename Folder"), "EditNode", belowDrive);
    addNotYet(this, QStringLiteral("&New Folder"), "AddNode", belowRoot);
    addSeparator();
    connect(addItem(this, QStringLiteral("&Properties"), "PropertiesNode", belowRoot), &QAction::triggered, m_tree,
            &TPathViewFol::ShowFolderProperties);
}

QString TPathViewFolPopUp::notYetText(const QString& command)
{
    QString plain = command;
    plain.remove(QLatin1Char('&'));
    return QStringLiteral("\"") + plain + QStringLiteral("\" is not available yet.");
}

QAction* TPathViewFolPopUp::addItem(QMenu* menu, const QString& caption, const char* name, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setEnabled(enabled);
    return action;
}

void TPathViewFolPopUp::addNotYet(QMenu* menu, const QString& caption, const char* name, bool enabled)
{
    connect(addItem(menu, caption, name, enabled), &QAction::triggered, this,
            [caption] { Prompter::instance().information(notYetText(caption)); });
}

void TPathViewFolPopUp::addDrivesMenu()
{
    QMenu* drives = addMenu(QStringLiteral("Drives..."));
    drives->setObjectName(QStringLiteral("DrivesNode"));
    const QString single = m_tree->SingleDrive() ? QStringLiteral("Change to All Drives")
                                                 : QStringLiteral("One Drive \"FolVane\"");
    connect(addItem(drives, single, "SingleDriveNode"), &QAction::triggered, m_tree, &TPathViewFol::ToggleSingleDrive);
    if (m_tree->SingleDrive() && m_tree->DriveTabs()) {
        connect(addItem(drives, QStringLiteral("Show Drive types [tab]"), "ShowDrivesNode"), &QAction::triggered, this, [this] {
            TTabControlDriveFol* tabs = m_tree->DriveTabs();
            tabs->setShowDrives(!tabs->ShowDrives());
            tabs->update();
        });
    }
    connect(addItem(drives, QStringLiteral("Refresh"), "RefreshNode"), &QAction::triggered, m_tree, &TPathViewFol::RefreshTree);
    // Shares are mounted by the desktop; the two items say so instead of opening a dialog.
    auto explainNetworkDrives = [] { Prompter::instance().information(NetworkDrivesUnavailableText()); };
    connect(addItem(drives, QStringLiteral("Map Network Drive ..."), "MapNetNode"), &QAction::triggered, this, explainNetworkDrives);
    connect(addItem(drives, QStringLiteral("Disconnect Network Drive ..."), "UnMapNetNode", AnyNetworkDrive()),
            &QAction::triggered, this, explainNetworkDrives);
    const bool belowRoot = m_node && m_node->data(0, TPathViewFol::LevelRole).toInt() != TPathViewFol::RootLevel;
    connect(addItem(drives, QStringLiteral("Format Drive"), "FormatNode", belowRoot), &QAction::triggered, m_tree,
            &TPathViewFol::FormatDrive);
}

void TPathViewFolPopUp::addSendMenu(bool belowRoot)
{
    QMenu* send = addMenu(QStringLiteral("Send..."));
    send->setObjectName(QStringLiteral("SendNode"));
    connect(addItem(send, QStringLiteral("Save Path To Clipboard"), "SavePathToClipNode", belowRoot), &QAction::triggered,
            m_tree, &TPathViewFol::SavePathToClipboard);
    addNotYet(send, QStringLiteral("Send copy to..."), "SendToNode", belowRoot);
    addNotYet(send, QStringLiteral("Move copy to..."), "MoveToNode", belowRoot);
    addNotYet(send, QStringLiteral("Make shortcut"), "MakeShortCutNode", belowRoot);
    addNotYet(send, QStringLiteral("Make shortcut on Desktop"), "MakeShortDesktopCutNode", belowRoot);
}
