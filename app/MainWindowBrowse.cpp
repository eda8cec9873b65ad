#include "app/MainWindowBrowse.h"

#include "app/FolderNodeDelegate.h"
#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"
#include "browse/BrowseNavigator.h"
#include "browse/BrowsePaneLinks.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Drives.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QToolTip>
#include <QTreeWidget>

MainWindowBrowse::MainWindowBrowse(TFormMainFolvane3* window, MainWindowControls& c)
    : QObject(window)
    , m_window(window)
    , m_c(c)
{
    // The window's own menus replace the components' context menus.
    c.TabControlDriveFol1->setPopUpMenuEnabled(false);
    c.PathViewFol1->setPopUpMenuEnabled(false);
    // The list shows the window's PopupMenuFile; its keys still reach the window's transfer
    // commands through the list's ...Requested signals.
    c.FileViewFol1->setPopUpMenuEnabled(false);
    c.FileViewFol1->setOpenByEnter(false);
    c.FileViewFol1->setParentDirEnabled(false);
    c.FileViewFol1->setParentDirCaption(QStringLiteral(" Up"));
    c.FileViewFol1->setFileSize(TFileSize::fsByte);
    c.FileViewFol1->setDateFormat(TDtFormat::df_MMddyyyy);
    BrowsePaneLinks::link(window->navigator(), {c.TabControlDriveFol1, c.PathViewFol1, c.FileViewFol1});

    c.PathViewFol1->setItemDelegate(new FolderNodeDelegate(c.PathViewFol1));
    connect(&window->navigator(), &BrowseNavigator::folderChanged, this,
            [this](const QString& folder) { PathViewFol1DirChange(folder); });
    connect(c.FileViewFol1, &TFileViewFol::loadProgress, window, &TFormMainFolvane3::loadProgress);
    connect(c.FileViewFol1, &TFileViewFol::viewSelected, window, &TFormMainFolvane3::viewSelected);
    connect(c.FileViewFol1, &TFileViewFol::keyDown, this, &MainWindowBrowse::FileViewFol1KeyDown);
    // The list's views share one selection model: the window's current item follows it.
    connect(c.FileViewFol1->currentView()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { followListSelection(); });
    connect(c.PathViewFol1, &QTreeWidget::itemClicked, c.PathViewFol1, qOverload<>(&QWidget::setFocus));
    for (QAbstractItemView* view : c.FileViewFol1->findChildren<QAbstractItemView*>())
        view->viewport()->installEventFilter(this);
    c.TabControlDriveFol1->installEventFilter(this);
}

void MainWindowBrowse::goToFolder(const QString& folder)
{
    // The tree is rebuilt and moved to the folder, the list re-reads it, the tabs select its
    // drive, and the window takes it as its current folder: all as followers.
    m_window->navigator().reload(QDir::cleanPath(folder));
}

void MainWindowBrowse::applyFileFilters(bool showHiddenSystem)
{
    TFileType type = TFileAttr::ftReadOnly | TFileAttr::ftArchive | TFileAttr::ftNormal;
    if (showHiddenSystem)
        type |= TFileAttr::ftHidden | TFileAttr::ftSystem;
    if (m_c.FileViewFol1->FileType() != type)
        m_c.FileViewFol1->setFileType(type);
    if (m_c.PathViewFol1->FolderType() != type)
        m_c.PathViewFol1->setFolderType(type);
}

void MainWindowBrowse::PathViewFol1DirChange(const QString& selectedPath)
{
    // The drives view is no folder: neither the current folder nor a recent one.
    if (!LocalFiles::isDir(selectedPath))
        return;
    m_window->setCurrentPath(PathText::withTrailingSlash(selectedPath));
    if (m_window->CurrentMode() != vmFileManager || !m_c.PathViewFol1->isVisible())
        return;
    // An item of another folder is no longer the selected one.
    if (PathText::folderOf(m_window->CurrentFile()) != PathText::withoutTrailingSlash(selectedPath))
        m_window->setCurrentFile(QString());
    m_window->UpdateRecentPaths(PathText::withoutTrailingSlash(selectedPath));
    // A folder opened from the list keeps the keyboard in the list.
    if (!m_c.FileViewFol1->isAncestorOf(QApplication::focusWidget()))
        m_c.PathViewFol1->setFocus();
}

void MainWindowBrowse::followListSelection()
{
    if (m_window->CurrentMode() == vmFileManager)
        m_window->setCurrentFile(m_c.FileViewFol1->selectedPaths().value(0));
}

void MainWindowBrowse::FileViewFol1KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || (modifiers & ~Qt::KeypadModifier))
        return;
    const QStringList selected = m_c.FileViewFol1->selectedPaths();
    // A folder has no text to show: Enter on it is left to the list's own opening.
    if (selected.isEmpty() || !LocalFiles::isFile(selected.first()))
        return;
    m_window->setCurrentFile(selected.first());
    Q_EMIT m_window->viewModeRequested(vmFileViewer, selected.first());
}

QString MainWindowBrowse::FileViewFol1InfoTip(int row) const
{
    const QAbstractItemModel& model = m_c.FileViewFol1->model();
    if (row < 0 || row >= model.rowCount())
        return QString();
    return model.index(row, 0).data().toString() + QStringLiteral("\r\n") + model.index(row, 1).data().toString()
        + QStringLiteral("\r\n") + model.index(row, 2).data().toString();
}

QString MainWindowBrowse::TabControlDriveFol1Hint(int tab) const
{
    const DriveTabList& tabs = m_c.TabControlDriveFol1->tabList();
    if (tab < 0 || tab >= tabs.count())
        return QString();
    const DriveInfo& drive = tabs.at(tab).drive;
    return drive.caption() + QStringLiteral(" (") + drive.root + QStringLiteral(")\r\n") + DriveTypeText(drive.type);
}

bool MainWindowBrowse::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    QString text;
    if (watched == m_c.TabControlDriveFol1) {
        text = TabControlDriveFol1Hint(m_c.TabControlDriveFol1->tabAt(help->pos()));
    } else {
        const QModelIndex index = m_c.FileViewFol1->currentView()->indexAt(help->pos());
        text = index.isValid() ? FileViewFol1InfoTip(index.row()) : QString();
    }
    // Over no tab or row the tip is left as it was.
    if (text.isEmpty())
        return false;
    QToolTip::showText(help->globalPos(), Prompter::displayText(text), static_cast<QWidget*>(watched));
    return true;
}
