#include "app/MainWindowFolderMenu.h"

#include "app/MainWindowDriveMenu.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Drives.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>

MainWindowFolderMenu::MainWindowFolderMenu(WindowContext& context, const BrowseWidgets& browse, MainWindowDriveMenu* drives)
    : QObject(context.window())
    , m_browse(browse)
    , m_drives(drives)
    , m_menu(new QMenu(context.window()))
{
    m_menu->setObjectName(QStringLiteral("PopupMenuPath"));
    connect(add(m_menu, "PopUpPathCollapseExpand", QStringLiteral("Collapse")), &QAction::triggered, this,
            &MainWindowFolderMenu::PopUpPathCollapseExpandClick);
    QMenu* find = m_menu->addMenu(QStringLiteral("Find ..."));
    find->menuAction()->setObjectName(QStringLiteral("PopUpPathFind"));
    connect(add(find, "PopUpPathFolvaneFind", QStringLiteral("Folvane FIND")), &QAction::triggered, this,
            &MainWindowFolderMenu::findRequested);
    connect(add(find, "PopUpPathWindowsSearch", QStringLiteral("Windows Search")), &QAction::triggered, m_browse.tree,
            &TPathViewFol::FindWithExplorer);
    connect(add(find, "PopUpPathWindowsExplore", QStringLiteral("Windows Explore")), &QAction::triggered, m_browse.tree,
            &TPathViewFol::OpenWithExplorer);
    QMenu* drivesMenu = m_menu->addMenu(QStringLiteral("Drives ..."));
    drivesMenu->menuAction()->setObjectName(QStringLiteral("PopUpPathDrives"));
    buildDrives(drivesMenu);
    QMenu* send = m_menu->addMenu(QStringLiteral("Send ..."));
    send->menuAction()->setObjectName(QStringLiteral("PopUpPathSend"));
    buildSend(send);
    m_menu->addSeparator();
    connect(add(m_menu, "PopUpPathCut", QStringLiteral("Cut")), &QAction::triggered, this, &MainWindowFolderMenu::folderCutRequested);
    connect(add(m_menu, "PopUpPathCopy", QStringLiteral("Copy")), &QAction::triggered, this,
            &MainWindowFolderMenu::folderCopyRequested);
    connect(add(m_menu, "PopUpPathPaste", QStringLiteral("Paste")), &QAction::triggered, this,
            &MainWindowFolderMenu::folderPasteRequested);
    m_menu->addSeparator();
    connect(add(m_menu, "PopUpPathDelete", QStringLiteral("Delete Folder")), &QAction::triggered, this,
            &MainWindowFolderMenu::folderDeleteRequested);
    connect(add(m_menu, "PopUpPathRename", QStringLiteral("Rename Folder")), &QAction::triggered, this,
            &MainWindowFolderMenu::folderRenameRequested);
    connect(add(m_menu, "PopUpPathNewFolder", QStringLiteral("New Folder")), &QAction::triggered, this,
            &MainWindowFolderMenu::newFolderRequested);
    m_menu->addSeparator();
    connect(add(m_menu, "PopUpPathProperties", QStringLiteral("Properties")), &QAction::triggered, m_browse.tree,
            &TPathViewFol::ShowFolderProperties);
    connect(m_menu, &QMenu::aboutToShow, this, &MainWindowFolderMenu::PopupMenuPathPopup);
    m_browse.tree->viewport()->installEventFilter(this);
    m_browse.tabs->installEventFilter(this);
}

QAction* MainWindowFolderMenu::add(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void MainWindowFolderMenu::buildDrives(QMenu* drives)
{
    connect(add(drives, "PopUpPathRefresh", QStringLiteral("Refresh")), &QAction::triggered, m_drives,
            &MainWindowDriveMenu::MenuRefreshClick);
    connect(add(drives, "PopUpPathSingleDrive", QStringLiteral("Change Single/All")), &QAction::triggered, m_drives,
            &MainWindowDriveMenu::MenuSingleDriveClick);
    connect(add(drives, "PopUpPathShowDriveTabs", QStringLiteral("Show Drive Tabs")), &QAction::triggered, m_drives,
            &MainWindowDriveMenu::MenuShowDriveTabsClick);
    auto explain = [] { Prompter::instance().information(NetworkDrivesUnavailableText()); };
    connect(add(drives, "PopUpPathMapNetworkDrive", QStringLiteral("Map Network Drive")), &QAction::triggered, this, explain);
    connect(add(drives, "PopUpPathDisconnectNetworkDrive", QStringLiteral("Disconnect Network Drive")), &QAction::triggered,
            this, explain);
    connect(add(drives, "PopUpPathFormat", QStringLiteral("Format Drive")), &QAction::triggered, m_browse.tree,
            &TPathViewFol::FormatDrive);
}

void MainWindowFolderMenu::buildSend(QMenu* send)
{
    connect(add(send, "PopUpPathSavePath", QStringLiteral("Save Path to Clipboard")), &QAction::triggered, m_browse.tree,
            &TPathViewFol::SavePathToClipboard);
    connect(add(send, "PopUpPathSendCopyTo", QStringLiteral("Send copy to ...")), &QAction::triggered, this,
            &MainWindowFolderMenu::folderCopyToRequested);
    connect(add(send, "PopUpPathMoveTo", QStringLiteral("Move folder to ...")), &QAction::triggered, this,
            &MainWindowFolderMenu::folderMoveToRequested);
    connect(add(send, "PopUpPathMakeShortcut", QStringLiteral("Make Shortcut in...")), &QAction::triggered, this, [this] {
        const QString folder = BrowseForFolder(QStringLiteral("Browse"), m_browse.tree->SelectedPath());
        if (!folder.isEmpty())
            makeShortcut(folder);
    });
    connect(add(send, "PopUpPathShortcutDesktop", QStringLiteral("Make Shortcut to Desktop")), &QAction::triggered, this,
            [this] { makeShortcut(SpecialFolderPath(SpecialFolder::Desktop)); });
    connect(add(send, "PopUpPathZip", QStringLiteral("Zip this folder")), &QAction::triggered, this,
            &MainWindowFolderMenu::zipFolderRequested);
}

void MainWindowFolderMenu::PopupMenuPathPopup()
{
    TPathViewFol* tree = m_browse.tree;
    const QTreeWidgetItem* node = tree->currentItem();
    const int level = node ? node->data(0, TPathViewFol::LevelRole).toInt() : -1;
    const bool belowRoot = level > TPathViewFol::RootLevel;
    const bool belowDrive = level == TPathViewFol::FolderLevel;
    const bool single = tree->SingleDrive();
    auto item = [this](const char* name) { return m_menu->findChild<QAction*>(QLatin1String(name)); };
    QAction* expand = item("PopUpPathCollapseExpand");
    expand->setVisible(node && (node->childCount() > 0 || node->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator));
    expand->setText(node && node->isExpanded() ? QStringLiteral("Collapse") : QStringLiteral("Expand"));
    QAction* singleDrive = item("PopUpPathSingleDrive");
    singleDrive->setText(MainWindowDriveMenu::singleDriveCaption(single));
    singleDrive->setIcon(QApplication::style()->standardIcon(single ? QStyle::SP_ComputerIcon : QStyle::SP_DriveHDIcon));
    item("PopUpPathShowDriveTabs")->setVisible(single);
    item("PopUpPathShowDriveTabs")->setText(MainWindowDriveMenu::showDriveTabsCaption(m_browse.tabs->ShowDrives()));
    item("PopUpPathDisconnectNetworkDrive")->setVisible(AnyNetworkDrive());
    item("PopUpPathFormat")->setVisible(belowRoot && !IsSystemVolume(tree->SelectedPath()));
    item("PopUpPathSend")->setVisible(belowRoot);
    item("PopUpPathMoveTo")->setVisible(belowDrive);
    for (const char* name : {"PopUpPathCut", "PopUpPathDelete", "PopUpPathRename"})
        item(name)->setVisible(belowDrive);
    for (const char* name : {"PopUpPathCopy", "PopUpPathNewFolder", "PopUpPathProperties"})
        item(name)->setVisible(belowRoot);
    item("PopUpPathPaste")->setVisible(belowRoot && m_pastePending);
}

void MainWindowFolderMenu::PopUpPathCollapseExpandClick()
{
    TPathViewFol* tree = m_browse.tree;
    QTreeWidgetItem* node = tree->currentItem();
    if (!node)
        return;
    if (node->isExpanded()) {
        // The node and everything below it.
        QList<QTreeWidgetItem*> pending{node};
        while (!pending.isEmpty()) {
            QTreeWidgetItem* next = pending.takeLast();
            next->setExpanded(false);
            for (int i = 0; i < next->childCount(); ++i)
                pending << next->child(i);
        }
        return;
    }
    tree->ExpandCollapse(node);
}

void MainWindowFolderMenu::popup(const QPoint& globalPosition)
{
    m_menu->popup(globalPosition);
}

bool MainWindowFolderMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

void MainWindowFolderMenu::makeShortcut(const QString& folder)
{
    const QString target = PathText::withoutTrailingSlash(m_browse.tree->SelectedPath());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        Prompter::instance().error(QStringLiteral("The folder for the shortcut does not exist:\r\n") + folder);
        return;
    }
    const QString name = QFileInfo(target).fileName().isEmpty() ? QStringLiteral("root") : QFileInfo(target).fileName();
    if (const Result<QString> written = CreateShortcut(target, target, QDir(folder).filePath(name + QStringLiteral(".desktop"))); !written)
        Prompter::instance().error(written.errorString());
}
