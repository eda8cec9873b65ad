#include "browse/TPathViewFol.h"

#include "browse/BrowsePaths.h"
#include "browse/DriveItems.h"
#include "browse/ItemIcons.h"
#include "browse/FileListing.h"
#include "browse/SubfolderReader.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFolPopUp.h"
#include "browse/TTabControlDriveFol.h"
#include "browse/WorkerLink.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/PropertiesDialog.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>

namespace {

QString childPath(const QString& parent, const QString& name)
{
    return parent.endsWith(QLatin1Char('/')) ? QString(parent + name) : QString(parent + QLatin1Char('/') + name);
}

} // namespace

TPathViewFol::TPathViewFol(QWidget* parent)
    : QTreeWidget(parent)
    , m_currentFolder(QDir::homePath())
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    resize(180, 120);
    connect(this, &QTreeWidget::itemExpanded, this, &TPathViewFol::NodeExpanding);
    RebuildTree();
}

TPathViewFol::~TPathViewFol()
{
    if (m_link)
        m_link->detach();
}

QString TPathViewFol::myComputer()
{
    return FileListing::myComputer();
}

void TPathViewFol::setFileList(TFileViewFol* list)
{
    if (list == m_fileList)
        return;
    m_fileList = list;
    if (list && list->DirTree() != this)
        list->setDirTree(this);
    if (list && !m_selectedPath.isEmpty())
        list->setDirectory(m_selectedPath);
    syncTabVisibility();
}

void TPathViewFol::setDriveTabs(TTabControlDriveFol* tabs)
{
    if (tabs == m_driveTabs)
        return;
    m_driveTabs = tabs;
    if (tabs && tabs->TreeView() != this)
        tabs->setTreeView(this);
    syncTabVisibility();
    if (tabs && !m_selectedPath.isEmpty() && tabs->currentIndex() >= 0)
        tabs->setSelectedTabText(m_selectedPath);
}

void TPathViewFol::syncTabVisibility()
{
    if (m_driveTabs)
        m_driveTabs->setVisible(m_singleDrive);
}

void TPathViewFol::setSingleDrive(bool single)
{
    if (single == m_singleDrive)
        return;
    m_singleDrive = single;
    if (m_fileList)
        m_fileList->setShowFolders(!single);
    syncTabVisibility();
    RebuildTree();
}

void TPathViewFol::setSelectedPath(const QString& path)
{
    if (path != m_selectedPath)
        m_selectedPath = path;
}

void TPathViewFol::setCurrentFolder(const QString& folder)
{
    if (!folder.isEmpty() && folder != myComputer())
        m_currentFolder = BrowsePaths::withoutTrailingSlash(folder);
}

void TPathViewFol::AddRootNode()
{
    // The nodes go: readings still under way have nowhere to go.
    if (m_link)
        m_link->detach();
    m_link = std::make_shared<WorkerLink>(this);
    m_reading = 0;
    clear();
    auto* root = new QTreeWidgetItem(this, {myComputer()});
    root->setIcon(0, ItemIcons::instance().computerIcon());
    root->setData(0, LevelRole, int(RootLevel));
    root->setData(0, PathRole, QString());
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void TPathViewFol::addDriveNodes(const QList<DriveInfo>& drives)
{
    QTreeWidgetItem* root = rootNode();
    if (!root)
        return;
    for (const DriveInfo& drive : drives) {
        auto* node = new QTreeWidgetItem(root, {drive.caption()});
        node->setIcon(0, ItemIcons::instance().driveIcon(drive.type));
        node->setData(0, LevelRole, int(DriveLevel));
        node->setData(0, PathRole, drive.root);
        node->setData(0, NetworkRole, drive.type == DriveType::Network);
        node->setData(0, DriveTypeRole, int(drive.type));
        node->setToolTip(0, drive.root);
        node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    root->setExpanded(true);
}

void TPathViewFol::AddDriveNodes()
{
    QList<DriveInfo> shown;
    const DriveInfo current = DriveOfPath(m_currentFolder);
    for (const DriveInfo& drive : ListDrives()) {
        if (DriveItems::isShown(drive) && (!m_singleDrive || drive.root == current.root))
            shown << drive;
    }
    addDriveNodes(shown);
    if (m_driveTabs)
        m_driveTabs->RefreshDrivetabs();
    if (m_fileList && m_driveTabs)
        m_fileList->setShowFolders(!m_singleDrive);
}

void TPathViewFol::AddDriveNode(const QString& root)
{
    QList<DriveInfo> shown;
    for (const DriveInfo& drive : ListDrives()) {
        if (DriveItems::isShown(drive) && (!m_singleDrive || drive.root == root))
            shown << drive;
    }
    addDriveNodes(shown);
}

void TPathViewFol::RebuildTree()
{
    AddRootNode();
    AddDriveNodes();
}

QString TPathViewFol::GetNodePath(const QTreeWidgetItem* node) const
{
    return node ? node->data(0, PathRole).toString() : QString();
}

QTreeWidgetItem* TPathViewFol::addFolderNode(QTreeWidgetItem* parent, int index, const QString& name, bool marked)
{
    auto* node = new QTreeWidgetItem({name});
    parent->insertChild(index, node);
    node->setIcon(0, ItemIcons::instance().folderIcon(false));
    node->setData(0, LevelRole, int(FolderLevel));
    node->setData(0, PathRole, childPath(GetNodePath(parent), name));
    node->setData(0, NetworkRole, parent->data(0, NetworkRole).toBool());
    node->setChildIndicatorPolicy(marked ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
    return node;
}

void TPathViewFol::NodeExpanding(QTreeWidgetItem* node)
{
    if (node->data(0, LevelRole).toInt() == RootLevel) {
        if (node->childCount() == 0)
            AddDriveNodes();
        return;
    }
    if (node->data(0, ChildrenRole).toInt() != NotRead)
        return; // children are read once per build
    node->setData(0, ChildrenRole, int(Reading));
    ++m_reading;
    const QPersistentModelIndex where(indexFromItem(node));
    const QString path = GetNodePath(node);
    const bool network = node->data(0, NetworkRole).toBool();
    const TFileType type = m_folderType;
    WorkerLink::pool().start([this, link = m_link, where, path, network, type] {
        QList<Subfolder> folders;
        // A network drive that does not answer in time has no children.
        if (!network || CheckDriveReady(DriveOfPath(path).root, false)) {
            for (const QString& name : SubfolderReader::subfolders(path, type)) {
                if (link->isCancelled())
                    return; // the tree was rebuilt or is gone
                // A network folder is always marked: asking every subfolder would wait on the network.
                folders.append({name, network || SubfolderReader::hasSubfolder(childPath(path, name), type)});
            }
        }
        link->post([this, where, folders] {
            --m_reading;
            if (QTreeWidgetItem* node = itemFromIndex(where))
                subfoldersRead(node, folders);
        });
    });
}

void TPathViewFol::subfoldersRead(QTreeWidgetItem* node, const QList<Subfolder>& folders)
{
    node->setData(0, ChildrenRole, int(Read));
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    // Nodes made for a path followed meanwhile are kept (they may be current) and the others
    // put around them; both come in the same order.
    for (int i = 0; i < folders.size(); ++i) {
        QTreeWidgetItem* existing = i < node->childCount() ? node->child(i) : nullptr;
        if (!existing || existing->text(0) != folders[i].name) {
            addFolderNode(node, i, folders[i].name, folders[i].marked);
        } else if (existing->data(0, ChildrenRole).toInt() == NotRead) {
            existing->setChildIndicatorPolicy(folders[i].marked ? QTreeWidgetItem::ShowIndicator
                                                                : QTreeWidgetItem::DontShowIndicator);
        }
    }
}

QTreeWidgetItem* TPathViewFol::childOnPath(QTreeWidgetItem* node, const QString& name)
{
    for (int i = 0; i < node->childCount(); ++i) {
        if (node->child(i)->text(0) == name)
            return node->child(i);
    }
    if (node->data(0, ChildrenRole).toInt() == Read)
        return nullptr; // e.g. a folder the filter leaves out
    // One stat (the whole path was stat'ed already), not a read of the folder.
    if (!SubfolderReader::isShownSubfolder(GetNodePath(node), name, m_folderType))
        return nullptr;
    return addFolderNode(node, node->childCount(), name, true);
}

QTreeWidgetItem* TPathViewFol::driveNodeOf(const QString& path) const
{
    QTreeWidgetItem* root = rootNode();
    QTreeWidgetItem* best = nullptr;
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* drive = root->child(i);
        const QString driveRoot = GetNodePath(drive);
        if (BrowsePaths::isOnDrive(driveRoot, path) && (!best || driveRoot.size() > GetNodePath(best).size()))
            best = drive;
    }
    return best;
}

bool TPathViewFol::GoToPath(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    const QString clean = BrowsePaths::withoutTrailingSlash(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const DriveInfo drive = DriveOfPath(clean);
    // In single-drive mode, going to a drive's root, or to a folder on a drive the tree does
    // not show (opened from the drive view), shows that drive.
    const bool atRoot = m_driveTabs && clean == drive.root;
    if (m_singleDrive && (atRoot || (rootNode() && rootNode()->childCount() > 0 && !driveNodeOf(clean)))) {
        setCurrentFolder(clean);
        if (m_driveTabs) {
            m_driveTabs->RefreshDrivetabs();
            m_driveTabs->setSelectedTabText(clean);
        }
        AddRootNode();
        AddDriveNode(drive.root);
    }
    const QString target = clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
    QTreeWidgetItem* root = rootNode();
    if (!root || root->childCount() == 0)
        AddDriveNodes();
    root = rootNode();
    if (root->isExpanded())
        collapseAll();
    root->setExpanded(true);
    QTreeWidgetItem* node = driveNodeOf(clean);
    if (!node)
        return false;
    setCurrentItem(node);
    node->setExpanded(true);
    const QString driveRoot = GetNodePath(node);
    const QString rest = clean.mid(driveRoot == QLatin1String("/") ? 1 : driveRoot.size() + 1);
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QTreeWidgetItem* next = childOnPath(node, part);
        if (!next)
            return false; // the deepest node found stays
        node = next;
        setCurrentItem(node);
        node->setExpanded(true);
    }
    scrollToItem(node);
    setCurrentFolder(clean);
    m_selectedPath = target;
    // The selected tab follows the tree, so clicking it later returns here.
    if (m_driveTabs && m_driveTabs->currentIndex() >= 0)
        m_driveTabs->setSelectedTabText(clean);
    Q_EMIT dirChanged(m_selectedPath);
    return true;
}

void TPathViewFol::ChooseNode(bool byMouse)
{
    QTreeWidgetItem* node = currentItem();
    if (!node)
        return;
    const int level = node->data(0, LevelRole).toInt();
    if (level == RootLevel && node->childCount() == 0)
        AddDriveNodes();
    m_selectedPath = level == RootLevel ? myComputer() : GetNodePath(node);
    const auto type = DriveType(node->data(0, DriveTypeRole).toInt());
    if (level == DriveLevel && (type == DriveType::Removable || type == DriveType::CdRom)
        && !CheckDriveReady(m_selectedPath, true)) {
        if (byMouse) {
            const QString previous = m_previousPath;
            if (!GoToPath(previous))
                setCurrentItem(previous == myComputer() ? rootNode() : nullptr);
            m_selectedPath = previous;
        }
        return;
    }
    if (level != RootLevel)
        setCurrentFolder(m_selectedPath);
    Q_EMIT dirChanged(m_selectedPath);
    if (m_fileList && !m_selectedPath.isEmpty())
        m_fileList->setDirectory(m_selectedPath);
    m_previousPath = m_selectedPath;
    if (m_driveTabs && !m_selectedPath.isEmpty() && m_driveTabs->currentIndex() >= 0 && level != RootLevel)
        m_driveTabs->setSelectedTabText(m_selectedPath);
}

void TPathViewFol::mousePressEvent(QMouseEvent* event)
{
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    // Only a press on a node's label or icon chooses it; the expand button does not.
    const bool onLabel = node && visualItemRect(node).contains(event->position().toPoint());
    QTreeWidget::mousePressEvent(event);
    m_dragPath.clear();
    if (onLabel) {
        setCurrentItem(node);
        ChooseNode(true);
        QTreeWidgetItem* chosen = currentItem();
        if (chosen && chosen->data(0, LevelRole).toInt() == FolderLevel)
            m_dragPath = GetNodePath(chosen);
    }
    m_drag.pressed(event->position().toPoint());
}

void TPathViewFol::mouseMoveEvent(QMouseEvent* event)
{
    // With the button held the chosen folder is dragged; the view's own drag-selection would
    // move the selection without choosing a folder.
    if (!(event->buttons() & Qt::LeftButton))
        QTreeWidget::mouseMoveEvent(event);
    m_drag.moved(this, event, m_dragPath, m_dragPath.isEmpty());
}

void TPathViewFol::keyPressEvent(QKeyEvent* event)
{
    QTreeWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Backspace: ChooseNode(false); break;
    default: break;
    }
}

void TPathViewFol::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popUpMenuEnabled) {
        QTreeWidget::contextMenuEvent(event);
        return;
    }
    TPathViewFolPopUp menu(this, false, this);
    menu.exec(event->globalPos() + QPoint(10, 10));
}

void TPathViewFol::runVerb(const QString& verb)
{
    // A selection that is not an existing folder ("My Computer") gives the verb nothing.
    const QString path = QFileInfo(m_selectedPath).isDir() ? BrowsePaths::withoutTrailingSlash(m_selectedPath) : QString();
    if (!ShellExecute(verb, path).accepted)
        Prompter::instance().error(QStringLiteral("Can not ") + verb + QStringLiteral(" file  ") + path);
}

void TPathViewFol::OpenWithExplorer()
{
    runVerb(QStringLiteral("Open"));
}

void TPathViewFol::FindWithExplorer()
{
    runVerb(QStringLiteral("Find"));
}

void TPathViewFol::FormatDrive()
{
    const QString root = DriveOfPath(BrowsePaths::withoutTrailingSlash(m_selectedPath)).root;
    QString error;
    // Unlike the platform's own format box, a missing utility is reported, not ignored.
    if (!::FormatDrive(root, &error))
        Prompter::instance().error(error);
    const QString selected = m_selectedPath;
    RebuildTree();
    if (m_fileList) {
        m_fileList->setDirectoryDirect(selected);
        m_fileList->RefreshList();
    }
}

void TPathViewFol::ShowFolderProperties()
{
    if (!currentItem() || m_selectedPath.isEmpty() || m_selectedPath == myComputer())
        return;
    const QString error = ShowProperties(m_selectedPath, this);
    if (!error.isEmpty())
        Prompter::instance().error(error);
}

void TPathViewFol::SavePathToClipboard()
{
    const QString text = BrowsePaths::networkForm(m_selectedPath);
    Prompter::instance().information(QStringLiteral("The following has been saved to the clipboard.\r\n"
                                                    "You may now paste this into any other applications as text.\r\n\r\n")
                                     + text);
    QGuiApplication::clipboard()->setText(text);
}

void TPathViewFol::ToggleSingleDrive()
{
    setSingleDrive(!m_singleDrive);
    GoToPath(m_currentFolder);
    if (m_fileList) {
        m_fileList->setDirectoryDirect(m_currentFolder);
        m_fileList->RefreshList();
    }
}

void TPathViewFol::ExpandCollapse(QTreeWidgetItem* node)
{
    if (node->isExpanded()) {
        collapseItem(node);
        return;
    }
    const bool read = node->childCount() > 0;
    node->setExpanded(true);
    for (int i = 0; read && i < node->childCount(); ++i) {
        if (node->child(i)->childCount() > 0)
            ExpandCollapse(node->child(i));
    }
}

void TPathViewFol::RefreshTree()
{
    RebuildTree();
    if (QTreeWidgetItem* root = rootNode()) {
        root->setExpanded(true);
        setCurrentItem(root);
    }
}
