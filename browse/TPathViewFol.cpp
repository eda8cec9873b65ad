#include "browse/TPathViewFol.h"

#include "browse/BrowsePaths.h"
#include "browse/DriveItems.h"
#include "browse/FolderLabelDelegate.h"
#include "browse/FileListing.h"
#include "browse/ItemIcons.h"
#include "browse/NameEdit.h"
#include "browse/SubfolderReader.h"
#include "browse/TPathViewFolPopUp.h"
#include "browse/TTabControlDriveFol.h"
#include "browse/WorkerLink.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/PropertiesDialog.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// A folder node's own name as bytes carried in a string (its caption is for showing).
QString nodeName(const QTreeWidgetItem* node)
{
    return PathText::nameOf(node->data(0, TPathViewFol::PathRole).toString());
}

} // namespace

// A folder node whose edited caption is a request to rename the folder: the caption itself
// changes only when the folder's new name is read back.
class FolderNode final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    void setData(int column, int role, const QVariant& value) override
    {
        auto* tree = qobject_cast<TPathViewFol*>(treeWidget());
        if (role == Qt::EditRole && column == 0 && tree) {
            tree->nodeEdited(this, value.toString());
            return;
        }
        QTreeWidgetItem::setData(column, role, value);
    }
};

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
    // A long name or a deep folder scrolls sideways instead of being cut short, and a label
    // opened for a new name is at least as wide as the name.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setItemDelegate(new FolderLabelDelegate(this));
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

void TPathViewFol::setNavigator(BrowseNavigator* navigator)
{
    if (m_navigator)
        disconnect(m_navigator, nullptr, this, nullptr);
    m_navigator = navigator;
    if (navigator)
        connect(navigator, &BrowseNavigator::folderChanged, this, &TPathViewFol::followFolder);
}

void TPathViewFol::followFolder(const QString& folder, BrowseNavigator::Change change)
{
    if (change == BrowseNavigator::Change::Reloaded)
        RebuildTree();
    if (folder.compare(myComputer(), Qt::CaseInsensitive) == 0) {
        showComputer(change);
        return;
    }
    const QString path = PathText::withoutTrailingSlash(folder);
    if (change == BrowseNavigator::Change::Reloaded) {
        GoToPath(folder);
        setSelectedPath(folder);
        return;
    }
    // A folder chosen in the tree itself is already selected.
    if (PathText::withoutTrailingSlash(m_selectedPath) == path && GetNodePath(currentItem()) == path)
        return;
    GoToPath(folder);
    QTreeWidgetItem* node = currentItem();
    if (change == BrowseNavigator::Change::WentUp && node && node->data(0, LevelRole).toInt() == DriveLevel)
        collapseItem(node);
}

void TPathViewFol::showComputer(BrowseNavigator::Change change)
{
    QTreeWidgetItem* root = rootNode();
    if (!root)
        return;
    if (QTreeWidgetItem* node = currentItem(); change == BrowseNavigator::Change::WentUp && node && node->isExpanded())
        collapseItem(node);
    setCurrentItem(root);
    m_selectedPath = myComputer();
}

void TPathViewFol::setSingleDrive(bool single)
{
    if (single == m_singleDrive)
        return;
    m_singleDrive = single;
    Q_EMIT singleDriveChanged(single);
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
        m_currentFolder = PathText::withoutTrailingSlash(folder);
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

QTreeWidgetItem* TPathViewFol::addFolderNode(QTreeWidgetItem* parent, int index, const Subfolder& folder)
{
    auto* node = new FolderNode({FileName::display(folder.name)});
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    parent->insertChild(index, node);
    node->setIcon(0, ItemIcons::instance().folderIcon(false));
    node->setData(0, LevelRole, int(FolderLevel));
    node->setData(0, PathRole, PathText::joined(GetNodePath(parent), folder.name));
    node->setData(0, NetworkRole, parent->data(0, NetworkRole).toBool());
    node->setData(0, AttributesRole, folder.attributes);
    node->setChildIndicatorPolicy(folder.marked ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
    return node;
}

QTreeWidgetItem* TPathViewFol::nodeOfPath(const QString& path) const
{
    const QString clean = PathText::withoutTrailingSlash(path);
    QTreeWidgetItem* node = driveNodeOf(clean);
    if (!node)
        return nullptr;
    const QString driveRoot = GetNodePath(node);
    const QString rest = clean.mid(driveRoot == QLatin1String("/") ? 1 : driveRoot.size() + 1);
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i) {
            if (nodeName(node->child(i)) == part)
                next = node->child(i);
        }
        if (!next)
            return nullptr;
        node = next;
    }
    return node;
}

bool TPathViewFol::EditFolderNode(const QString& path)
{
    QTreeWidgetItem* node = nodeOfPath(path);
    if (!node || node->data(0, LevelRole).toInt() < FolderLevel)
        return false;
    scrollToItem(node);
    // A deep folder's label is brought into the pane sideways, its parent's place in sight.
    resizeColumnToContents(0);
    updateGeometries();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + visualItemRect(node).left() - indentation());
    editItem(node, 0);
    return true;
}

void TPathViewFol::nodeEdited(QTreeWidgetItem* node, const QString& text)
{
    const QString path = GetNodePath(node);
    const QString name = NameEdit::merged(nodeName(node), text);
    if (name == nodeName(node))
        return;
    // After the editor has closed: the rename asks questions and builds the tree again.
    QMetaObject::invokeMethod(this, [this, path, name] { Q_EMIT captionEdited(path, name); }, Qt::QueuedConnection);
}

void TPathViewFol::AddFolderNodeOf(const QString& path)
{
    QTreeWidgetItem* parent = nodeOfPath(PathText::folderOf(path));
    const QString name = PathText::nameOf(path);
    if (!parent || parent->data(0, ChildrenRole).toInt() != Read || nodeOfPath(path))
        return;
    const std::optional<uint32_t> attributes = SubfolderReader::shownSubfolder(GetNodePath(parent), name, m_folderType);
    if (!attributes)
        return;
    int index = 0;
    while (index < parent->childCount() && SubfolderReader::isBefore(nodeName(parent->child(index)), name))
        ++index;
    addFolderNode(parent, index, {name, *attributes, false});
    parent->setExpanded(true);
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
    readChildren(node, false);
}

void TPathViewFol::SyncFolderNode(const QString& path)
{
    QTreeWidgetItem* node = nodeOfPath(path);
    if (!node || node->data(0, LevelRole).toInt() == RootLevel)
        return;
    const int state = node->data(0, ChildrenRole).toInt();
    if (state == Reading) // read again when this reading is in: it may have missed the change
        m_syncAgain.insert(QPersistentModelIndex(indexFromItem(node)));
    if (state == Read) // children not read yet are read fresh when the node opens
        readChildren(node, true);
}

void TPathViewFol::readChildren(QTreeWidgetItem* node, bool sync)
{
    node->setData(0, ChildrenRole, int(Reading));
    ++m_reading;
    const QPersistentModelIndex where(indexFromItem(node));
    const QString path = GetNodePath(node);
    const bool network = node->data(0, NetworkRole).toBool();
    const TFileType type = m_folderType;
    WorkerLink::pool().start([this, link = m_link, where, path, network, type, sync] {
        QList<Subfolder> folders;
        // A network drive that does not answer in time has no children.
        if (!network || CheckDriveReady(DriveOfPath(path).root, false)) {
            for (const SubfolderReader::Subfolder& folder : SubfolderReader::subfolders(path, type)) {
                if (link->isCancelled())
                    return; // the tree was rebuilt or is gone
                // A network folder is always marked: asking every subfolder would wait on the network.
                const bool marked = network || SubfolderReader::hasSubfolder(PathText::joined(path, folder.name), type);
                folders.append({folder.name, folder.attributes, marked});
            }
        }
        link->post([this, where, folders, sync] {
            --m_reading;
            if (QTreeWidgetItem* node = itemFromIndex(where)) {
                if (sync)
                    dropGoneChildren(node, folders);
                subfoldersRead(node, folders);
                if (m_syncAgain.remove(where))
                    readChildren(node, true);
            }
        });
    });
}

void TPathViewFol::dropGoneChildren(QTreeWidgetItem* node, const QList<Subfolder>& folders)
{
    for (int i = node->childCount() - 1; i >= 0; --i) {
        const QString name = nodeName(node->child(i));
        const bool listed = std::any_of(folders.begin(), folders.end(), [&](const Subfolder& f) { return f.name == name; });
        if (!listed)
            delete node->takeChild(i);
    }
}

void TPathViewFol::subfoldersRead(QTreeWidgetItem* node, const QList<Subfolder>& folders)
{
    node->setData(0, ChildrenRole, int(Read));
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    // Nodes made for a path followed meanwhile are kept (they may be current) and the others
    // put around them; both come in the same order.
    const int before = node->childCount();
    for (int i = 0; i < folders.size(); ++i) {
        QTreeWidgetItem* existing = i < node->childCount() ? node->child(i) : nullptr;
        if (!existing || nodeName(existing) != folders[i].name) {
            addFolderNode(node, i, folders[i]);
        } else if (existing->data(0, ChildrenRole).toInt() == NotRead) {
            existing->setChildIndicatorPolicy(folders[i].marked ? QTreeWidgetItem::ShowIndicator
                                                                : QTreeWidgetItem::DontShowIndicator);
        }
    }
    // The folder chosen below this node stays in view while its brothers arrive around it.
    QTreeWidgetItem* current = currentItem();
    for (QTreeWidgetItem* up = current ? current->parent() : nullptr; up && node->childCount() != before; up = up->parent()) {
        if (up == node) {
            const int sideways = horizontalScrollBar()->value(); // a label opened stays in sight
            scrollToItem(current);
            horizontalScrollBar()->setValue(sideways);
            break;
        }
    }
}

QTreeWidgetItem* TPathViewFol::childOnPath(QTreeWidgetItem* node, const QString& name)
{
    for (int i = 0; i < node->childCount(); ++i) {
        if (nodeName(node->child(i)) == name)
            return node->child(i);
    }
    if (node->data(0, ChildrenRole).toInt() == Read)
        return nullptr; // e.g. a folder the filter leaves out
    // One stat (the whole path was stat'ed already), not a read of the folder.
    const std::optional<uint32_t> attributes = SubfolderReader::shownSubfolder(GetNodePath(node), name, m_folderType);
    if (!attributes)
        return nullptr;
    return addFolderNode(node, node->childCount(), {name, *attributes, true});
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
    if (path.isEmpty() || !LocalFiles::isDir(path))
        return false;
    const QString clean = PathText::withoutTrailingSlash(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const DriveInfo drive = DriveOfPath(clean);
    // In single-drive mode, going to a drive's root, or to a folder on a drive the tree does
    // not show (opened from the drive view), shows that drive.
    const bool atRoot = clean == drive.root;
    if (m_singleDrive && (atRoot || (rootNode() && rootNode()->childCount() > 0 && !driveNodeOf(clean)))) {
        setCurrentFolder(clean);
        AddRootNode();
        AddDriveNode(drive.root);
    }
    const QString target = PathText::withTrailingSlash(clean);
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
    m_previousPath = m_selectedPath;
    if (m_navigator && !m_selectedPath.isEmpty())
        m_navigator->goTo(m_selectedPath);
}

bool TPathViewFol::viewportEvent(QEvent* event)
{
    // Narrower names still fill the pane (whether the scroll bars show or not), so the
    // selection spans it.
    if (event->type() == QEvent::Resize)
        header()->setMinimumSectionSize(static_cast<QResizeEvent*>(event)->size().width());
    return QTreeWidget::viewportEvent(event);
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
    const QString path = LocalFiles::isDir(m_selectedPath) ? PathText::withoutTrailingSlash(m_selectedPath) : QString();
    const ShellExecuteResult result = verb == QLatin1String("Open") ? ExploreFolder(path) : ShellExecute(verb, path);
    if (!result.accepted)
        Prompter::instance().error(ShellFailureMessage(verb, path, result));
}

void TPathViewFol::OpenWithExplorer()
{
    // The desktop's own file manager opens the folder (ExploreFolder): the shell's "Open"
    // would come back to this program where it is the folder handler.
    runVerb(QStringLiteral("Open"));
}

void TPathViewFol::FindWithExplorer()
{
    runVerb(QStringLiteral("Find"));
}

void TPathViewFol::FormatDrive()
{
    const QString root = DriveOfPath(PathText::withoutTrailingSlash(m_selectedPath)).root;
    // Unlike the platform's own format box, a missing utility is reported, not ignored.
    if (const Status formatted = ::FormatDrive(root); !formatted)
        Prompter::instance().error(formatted.errorString());
    if (m_navigator)
        m_navigator->reload(m_selectedPath);
    else
        RebuildTree();
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
    QGuiApplication::clipboard()->setText(FileName::display(text)); // plain text for other programs
}

void TPathViewFol::ToggleSingleDrive()
{
    setSingleDrive(!m_singleDrive);
    if (m_navigator)
        m_navigator->reload(m_currentFolder);
    else
        GoToPath(m_currentFolder);
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
