#pragma once
// The recent-folders list of the "Path" menu: folders without a trailing slash, at most 20.

#include <QString>
#include <QStringList>

#include <functional>

class RecentPaths {
public:
    static constexpr int kLimit = 20;

    // Drops folders that no longer exist and repeated entries (paths are the same folder
    // only when their bytes are equal), puts currentFolder first when it is not in the list
    // (a folder already listed keeps its place), and keeps the first 20. An empty
    // currentFolder adds nothing.
    static void update(QStringList& paths, const QString& currentFolder,
                       const std::function<bool(const QString&)>& folderExists = isFolder);

    // A folder as the list stores it: no trailing slash, except for "/" itself.
    static QString normalized(const QString& folder);

    static bool isFolder(const QString& path);
};
