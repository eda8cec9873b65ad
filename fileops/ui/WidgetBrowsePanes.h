#pragma once
// The browse panes of a window as the transfer commands see them: the folder tree and the
// file list widgets; the active pane is the one with the keyboard focus, else the one that
// had it last (or whose popup was opened last). New names are typed in place, on the tree's
// node or the list's row, and handed to the rename callbacks.

#include "fileops/BrowsePanes.h"

#include <QObject>
#include <QPointer>

#include <functional>

class TFileViewFol;
class TPathViewFol;

class WidgetBrowsePanes final : public QObject, public BrowsePanes {
    Q_OBJECT
public:
    WidgetBrowsePanes(TPathViewFol* tree, TFileViewFol* list, QObject* parent = nullptr);

    void setWidgets(TPathViewFol* tree, TFileViewFol* list);
    void setTreeActive(bool active) { m_treeActive = active; }
    // A command of one pane's own menu acts on that pane whatever has the focus.
    enum class Pane { Focused, Tree, List };
    void setForcedPane(Pane pane) { m_forced = pane; }
    void setOnTreeRename(std::function<void(const QString& path, const QString& text)> fn) { m_onTreeRename = std::move(fn); }
    void setOnListRename(std::function<void(const QString& path, const QString& text, const QString& kind)> fn)
    {
        m_onListRename = std::move(fn);
    }

    bool treeIsActive() const override;
    QString treeSelectedPath() const override;
    int treeSelectedLevel() const override;
    void rebuildTreeAt(const QString& folder) override;
    void startTreeRename(const QString& path) override;
    void showFolderInTree(const QString& path) override;
    QString listDirectory() const override;
    QList<ListEntry> listEntries() const override;
    bool listReadOnly() const override { return false; }
    void refreshList() override;
    void refreshListInPlace(const QString& fullPath) override;
    void selectAllInList(bool select) override;
    void selectInList(const QString& fullPath) override;
    void startListRename(const QString& fullPath) override;

private:
    QString kindOf(const QString& fullPath) const;

    QPointer<TPathViewFol> m_tree;
    QPointer<TFileViewFol> m_list;
    bool m_treeActive = false;
    Pane m_forced = Pane::Focused;
    std::function<void(const QString&, const QString&)> m_onTreeRename;
    std::function<void(const QString&, const QString&, const QString&)> m_onListRename;
};
