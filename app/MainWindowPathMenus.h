#pragma once
// The recent-folders menu "Path" and the special-folder items of the "File" and "Music"
// menus. Each opens its folder in the file manager; a folder that is missing opens the
// current folder instead, without a message.

#include <QObject>
#include <QStringList>

class QMenu;
class WindowContext;

class MainWindowPathMenus : public QObject {
    Q_OBJECT
public:
    explicit MainWindowPathMenus(WindowContext& context);

    // "&1 /path" to "&9 /path" for the first nine entries, "&A /path" to "&K /path" for the
    // tenth to the twentieth.
    static QString recentCaption(int index, const QString& folder);

    // Rebuilds the "Path" menu from the recent folders (MenuMRUPaths).
    void fillRecentPaths();
    void MenuMRUPathsClick(const QString& folder);

    // The file manager shows folder; an empty or missing folder opens the current folder
    // instead (or its nearest existing parent, or the home folder), without a message.
    void openInFileManager(const QString& folder);

private:
    void addSpecialFolders(QMenu* file, QMenu* music);
    void openSpecialFolder(int which);

    WindowContext& m_context;
};
