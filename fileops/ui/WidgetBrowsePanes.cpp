#include "fileops/ui/WidgetBrowsePanes.h"

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/LocalFiles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>

namespace {

QString kindText(ItemKind kind)
{
    switch (kind) {
    case ItemKind::File: return QStringLiteral("file");
    case ItemKind::Drive: return QStringLiteral("drv");
    case ItemKind::Folder:
    case ItemKind::Parent: return QStringLiteral("dir");
    }
    return QString();
}

} // namespace

WidgetBrowsePanes::WidgetBrowsePanes(TPathViewFol* tree, TFileViewFol* list, QObject* parent)
    : QObject(parent)
{
    setWidgets(tree, list);
    // The active pane is the one that had the keyboard focus last.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now)
            return;
        if (m_tree && (now == m_tree || m_tree->isAncestorOf(now)))
            m_treeActive = true;
        else if (m_list && (now == m_list || m_list->isAncestorOf(now)))
            m_treeActive = false;
    });
}

void WidgetBrowsePanes::setWidgets(TPathViewFol* tree, TFileViewFol* list)
{
    for (QObject* old : {static_cast<QObject*>(m_tree.data()), static_cast<QObject*>(m_list.data())}) {
        if (old)
            disconnect(old, nullptr, this, nullptr);
    }
    m_tree = tree;
    m_list = list;
    if (tree) {
        connect(tree, &TPathViewFol::captionEdited, this, [this](const QString& path, const QString& name) {
            if (m_onTreeRename)
                m_onTreeRename(path, name);
        });
    }
    if (list) {
        connect(list, &TFileViewFol::captionEdited, this, [this](const QString& path, const QString& name) {
            if (m_onListRename)
                m_onListRename(path, name, kindOf(path));
        });
    }
}

QString WidgetBrowsePanes::kindOf(const QString& fullPath) const
{
    for (const ListEntry& entry : listEntries()) {
        if (entry.fullPath == fullPath)
            return entry.kind;
    }
    return QString();
}

bool WidgetBrowsePanes::treeIsActive() const
{
    if (m_forced != Pane::Focused)
        return m_forced == Pane::Tree && m_tree;
    const QWidget* focus = QApplication::focusWidget();
    if (focus && m_tree && (focus == m_tree || m_tree->isAncestorOf(focus)))
        return true;
    if (focus && m_list && (focus == m_list || m_list->isAncestorOf(focus)))
        return false;
    return m_treeActive && m_tree;
}

QString WidgetBrowsePanes::treeSelectedPath() const
{
    return m_tree && m_tree->currentItem() ? m_tree->GetNodePath(m_tree->currentItem()) : QString();
}

int WidgetBrowsePanes::treeSelectedLevel() const
{
    if (!m_tree || !m_tree->currentItem())
        return -1;
    const QTreeWidgetItem* node = m_tree->currentItem();
    int depth = 0;
    for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        ++depth;
    return depth;
}

void WidgetBrowsePanes::rebuildTreeAt(const QString& folder)
{
    // Panes that follow a navigator are moved by it, so the tabs and the window follow too.
    if (BrowseNavigator* navigator = m_tree ? m_tree->navigator() : nullptr) {
        navigator->reload(folder);
        return;
    }
    if (m_tree) {
        m_tree->RebuildTree();
        m_tree->GoToPath(folder);
        m_tree->setSelectedPath(folder);
    }
    if (m_list && LocalFiles::isDir(folder)) {
        m_list->setDirectory(folder);
        m_list->RefreshList();
    }
}

void WidgetBrowsePanes::startTreeRename(const QString& path)
{
    if (m_tree)
        m_tree->EditFolderNode(path);
}

void WidgetBrowsePanes::showFolderInTree(const QString& path)
{
    if (m_tree)
        m_tree->AddFolderNodeOf(path);
}

QString WidgetBrowsePanes::listDirectory() const
{
    return m_list ? m_list->Directory() : QString();
}

QList<ListEntry> WidgetBrowsePanes::listEntries() const
{
    QList<ListEntry> entries;
    if (!m_list)
        return entries;
    FileListModel& model = m_list->model();
    const QItemSelectionModel* selection = m_list->currentView()->selectionModel();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        const auto kind = ItemKind(model.data(index, FileListModel::KindRole).toInt());
        ListEntry entry;
        entry.fullPath = model.data(index, FileListModel::FullPathRole).toString();
        entry.caption = model.data(index, Qt::DisplayRole).toString();
        entry.attributes = model.data(model.index(row, 4), Qt::DisplayRole).toString().trimmed();
        entry.kind = kindText(kind);
        entry.parent = kind == ItemKind::Parent;
        entry.selected = selection && selection->isRowSelected(row, QModelIndex());
        entries << entry;
    }
    return entries;
}

void WidgetBrowsePanes::refreshList()
{
    if (m_list)
        m_list->RefreshList();
}

void WidgetBrowsePanes::refreshListInPlace(const QString& fullPath)
{
    if (m_list)
        m_list->RefreshListInPlace(fullPath);
}

void WidgetBrowsePanes::selectAllInList(bool select)
{
    if (!m_list)
        return;
    if (select)
        m_list->currentView()->selectAll();
    else
        m_list->currentView()->clearSelection();
}

void WidgetBrowsePanes::selectInList(const QString& fullPath)
{
    // The list may still be reading the folder after a refresh: the row is selected when
    // it arrives.
    if (m_list)
        m_list->SelectFileWhenListed(fullPath);
}

void WidgetBrowsePanes::startListRename(const QString& fullPath)
{
    if (m_list)
        m_list->EditItemCaption(fullPath);
}
