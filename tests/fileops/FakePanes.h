#pragma once
// Browse panes for the command tests: a list that reads its folder from the disk like the
// real list (files, then folders, with the parent row first) and a tree that is just a
// selected path and level. Records what the commands asked of them. Like the real list, a
// row's caption is the name's display form and its path keeps the name's bytes.

#include "fileops/BrowsePanes.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include <QCollator>
#include <QDir>
#include <QStringList>

#include <algorithm>

class FakePanes final : public BrowsePanes {
public:
    bool tree = false;
    QString treePath;
    int level = -1;
    QString directory;
    bool readOnly = false;
    QList<ListEntry> rows;
    QStringList rebuiltAt;
    QStringList renameStarted;
    QStringList shownInTree;
    int refreshes = 0;
    int refreshesInPlace = 0;

    // Shows folder in the list (and selects it in the tree as a folder node).
    void showFolder(const QString& folder, int treeLevel = 2)
    {
        directory = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        treePath = QDir::cleanPath(folder);
        level = treeLevel;
        read();
    }
    // Selects the rows of these names only.
    void select(const QStringList& names)
    {
        for (ListEntry& row : rows)
            row.selected = names.contains(row.caption);
    }

    bool treeIsActive() const override { return tree; }
    QString treeSelectedPath() const override { return treePath; }
    int treeSelectedLevel() const override { return level; }
    void rebuildTreeAt(const QString& folder) override
    {
        rebuiltAt << folder;
        treePath = folder;
    }
    void startTreeRename(const QString& path) override { renameStarted << path; }
    void showFolderInTree(const QString& path) override { shownInTree << path; }
    QString listDirectory() const override { return directory; }
    QList<ListEntry> listEntries() const override { return rows; }
    bool listReadOnly() const override { return readOnly; }
    void refreshList() override
    {
        ++refreshes;
        QStringList selected;
        for (const ListEntry& row : rows) {
            if (row.selected)
                selected << row.caption;
        }
        read();
        select(selected);
    }
    // The selection stays; the row of fullPath, when there is one, becomes the selection.
    void refreshListInPlace(const QString& fullPath) override
    {
        ++refreshesInPlace;
        --refreshes;
        refreshList();
        const bool listed = std::any_of(rows.cbegin(), rows.cend(), [&](const ListEntry& row) { return row.fullPath == fullPath; });
        if (listed)
            selectInList(fullPath);
    }
    void selectAllInList(bool on) override
    {
        for (ListEntry& row : rows)
            row.selected = on;
    }
    void selectInList(const QString& fullPath) override
    {
        for (ListEntry& row : rows)
            row.selected = row.fullPath == fullPath;
    }
    void startListRename(const QString& fullPath) override { renameStarted << fullPath; }

private:
    void read()
    {
        rows.clear();
        rows << ListEntry{directory + QStringLiteral(".."), QStringLiteral(" Up"), QString(), QStringLiteral("dir"), false, true};
        QStringList names = LocalFiles::entryNames(directory);
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseSensitive);
        std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
        for (const QString& name : names) {
            if (LocalFiles::isFile(directory + name))
                rows << ListEntry{directory + name, FileName::display(name), QStringLiteral("A"), QStringLiteral("file"), false, false};
        }
        for (const QString& name : names) {
            if (LocalFiles::isDir(directory + name))
                rows << ListEntry{directory + name, FileName::display(name), QString(), QStringLiteral("dir"), false, false};
        }
    }
};
