#include "fileops/ui/DropTargets.h"

#include "browse/FileListModel.h"
#include "browse/OwnDrag.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "fileops/DroppedStream.h"
#include "fileops/FileDropMime.h"
#include "platform/ChangeNotices.h"
#include "platform/Drives.h"
#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/linux/DocumentPortal.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace {

using DropRules::Pane;

bool carriesSomething(const QMimeData* mime)
{
    return mime
        && (FileDropMime::hasFiles(mime) || mime->hasFormat(QLatin1String(DocumentPortal::kFileTransfer))
            || !DroppedStream::of(mime).name.isEmpty());
}

bool isDriveRoot(const QString& folder)
{
    const QString bare = PathText::withoutTrailingSlash(folder);
    return bare == QLatin1String("/") || DriveOfPath(bare).root == bare;
}

} // namespace

DropTargets::DropTargets(QWidget* window, const Panes& panes)
    : QObject(window)
    , m_window(window)
    , m_panes(panes)
    , m_menu(new QMenu(window))
{
    m_menu->setObjectName(QStringLiteral("PopupMenuDragDrop"));
    QAction* copy = m_menu->addAction(QStringLiteral("Copy here"));
    copy->setObjectName(QStringLiteral("Copyhere1"));
    QAction* move = m_menu->addAction(QStringLiteral("Move here"));
    move->setObjectName(QStringLiteral("Movehere1"));
    m_menu->addSeparator();
    QAction* cancel = m_menu->addAction(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("Cancel1"));
    connect(copy, &QAction::triggered, this, &DropTargets::Copyhere1Click);
    connect(move, &QAction::triggered, this, &DropTargets::Movehere1Click);
    connect(cancel, &QAction::triggered, this, &DropTargets::Cancel1Click);

    // The list has a view per style; each takes drops on its viewport.
    for (QAbstractItemView* view : panes.list->findChildren<QAbstractItemView*>()) {
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
    }
    panes.tree->viewport()->setAcceptDrops(true);
    panes.tree->viewport()->installEventFilter(this);
    panes.tabs->setAcceptDrops(true);
    panes.tabs->installEventFilter(this);
}

QStringList DropTargets::droppedPaths(const QMimeData* mime)
{
    if (!mime)
        return {};
    const QStringList paths = FileDropMime::read(mime).paths;
    if (!paths.isEmpty() || !mime->hasFormat(QLatin1String(DocumentPortal::kFileTransfer)))
        return paths;
    return DocumentPortal::retrieveFiles(mime->data(QLatin1String(DocumentPortal::kFileTransfer)));
}

bool DropTargets::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave && type != QEvent::Drop)
        return false;
    Pane pane = Pane::List;
    if (watched == m_panes.tree->viewport())
        pane = Pane::Tree;
    else if (watched == m_panes.tabs)
        pane = Pane::Tabs;
    switch (type) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        if (!carriesSomething(move->mimeData())) {
            move->ignore();
            return true;
        }
        dragOver(pane, move);
        return true;
    }
    case QEvent::DragLeave:
        DropComboTargetLeave();
        return true;
    default:
        drop(pane, static_cast<QDropEvent*>(event));
        return true;
    }
}

void DropTargets::findTarget(Pane pane, const QPoint& position)
{
    if (pane == Pane::List)
        DropComboTargetfilesDragOver(position);
    else if (pane == Pane::Tree)
        DropComboTargetPathDragOver(position);
    else
        DropComboTargettabsDragOver(position);
}

void DropTargets::dragOver(Pane pane, QDragMoveEvent* event)
{
    findTarget(pane, event->position().toPoint());
    m_rightButton = event->buttons() == Qt::RightButton && event->modifiers() == Qt::NoModifier;
    if (m_target.isEmpty()) {
        event->ignore();
        return;
    }
    // Copy is the only effect offered: the program that gave the items keeps them, and a
    // move is this program's own transfer.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropTargets::DropComboTargetfilesDragOver(const QPoint& position)
{
    TFileViewFol* list = m_panes.list;
    const QModelIndex index = list->currentView()->indexAt(position);
    if (!index.isValid()) {
        setTarget(Pane::List, list->isDriveView() ? QString() : list->Directory());
        return;
    }
    const QModelIndex row = index.siblingAtColumn(0);
    // A file under the cursor leaves the target as it was.
    if (row.data(FileListModel::KindRole).toString() != QLatin1String("file"))
        setTarget(Pane::List, row.data(FileListModel::FullPathRole).toString());
}

void DropTargets::DropComboTargetPathDragOver(const QPoint& position)
{
    const QTreeWidgetItem* node = m_panes.tree->itemAt(position);
    setTarget(Pane::Tree, node ? m_panes.tree->GetNodePath(node) : QString());
}

void DropTargets::DropComboTargettabsDragOver(const QPoint& position)
{
    const int tab = m_panes.tabs->tabAt(position);
    setTarget(Pane::Tabs, tab >= 0 && tab < m_panes.tabs->tabList().count() ? m_panes.tabs->tabList().at(tab).text : QString());
}

void DropTargets::setTarget(Pane pane, const QString& folder)
{
    // The folder is looked at once per hover, not at every mouse move.
    const QString key = QString::number(int(pane)) + folder;
    if (key == m_checked)
        return;
    m_checked = key;
    const QString name = PathText::nameOf(folder);
    const bool isFolder = !folder.isEmpty() && folder.startsWith(QLatin1Char('/')) && LocalFiles::isDir(folder);
    m_target = isFolder ? DropRules::acceptedTarget(folder, name.startsWith(QLatin1Char('.')), isDriveRoot(folder)) : QString();
    if (m_holdCaption)
        m_holdCaption(!m_target.isEmpty());
    if (!m_target.isEmpty())
        m_window->setWindowTitle(DropRules::hoverCaption(pane, FileName::display(m_target)));
}

void DropTargets::drop(Pane pane, QDropEvent* event)
{
    findTarget(pane, event->position().toPoint());
    if (m_target.isEmpty()) {
        event->ignore();
        clearDrop();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (pane == Pane::List && OwnDrag::isOwn(event->mimeData()))
        Q_EMIT listDroppedFromProgram();
    const QString target = m_target;
    const DroppedStream::Stream stream = DroppedStream::of(event->mimeData());
    const QStringList paths = droppedPaths(event->mimeData());
    m_plan = DropRules::plan({pane, target, paths, m_panes.list->Directory(), m_rightButton},
                             [](const QString& path) { return LocalFiles::exists(path); });
    // The program the items came from waits until the drop returns: the work runs after it.
    QTimer::singleShot(0, this, [this, target, stream, paths] {
        const bool saved = DroppedStream::save(target, stream);
        if (m_plan.action == DropRules::Action::AskMenu) {
            if (!m_menu->exec(QCursor::pos()))
                Cancel1Click();
        } else if (m_plan.action == DropRules::Action::Move) {
            transfer(true, true);
        }
        if (m_plan.announce || saved) {
            NotifyChange(ChangeEvent::UpdateDir, target);
            if (!paths.isEmpty())
                NotifyChange(ChangeEvent::UpdateDir, PathText::folderOf(PathText::withoutTrailingSlash(paths.first())));
        }
        m_plan = {};
        clearDrop();
        Q_EMIT dropFinished();
    });
}

void DropTargets::DropComboTargetLeave()
{
    clearDrop();
}

void DropTargets::Copyhere1Click()
{
    transfer(false, false);
}

void DropTargets::Movehere1Click()
{
    transfer(true, false);
}

void DropTargets::Cancel1Click()
{
    m_plan = {};
}

void DropTargets::transfer(bool move, bool thenShowCurrent)
{
    if (m_plan.sources.isEmpty())
        return;
    RunTransfer(move ? FileOperationKind::Move : FileOperationKind::Copy, m_plan.sources, {m_plan.into});
    if (thenShowCurrent && m_currentPath) {
        m_panes.tree->setUpdatesEnabled(false);
        m_panes.tree->GoToPath(m_currentPath());
        m_panes.tree->setUpdatesEnabled(true);
    }
}

void DropTargets::clearDrop()
{
    m_target.clear();
    m_checked.clear();
    if (m_holdCaption)
        m_holdCaption(false);
}
