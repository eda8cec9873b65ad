#pragma once
// The recent-folders menu "Path" and the special-folder items of the "File" and "Music"
// menus. Each opens its folder in the file manager; a folder that is missing opens the
// current folder instead, without a message.

#include <QObject>
#include <QStringList>

class QMenu;
struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowPathMenus : public QObject {
    Q_OBJECT
public:
    MainWindowPathMenus(TFormMainFolvane3* window, MainWindowControls& c);

    // "&1 /path" to "&9 /path" for the first nine entries, "&A /path" to "&K /path" for the
    // tenth to the twentieth.
    static QString recentCaption(int index, const QString& folder);

    // Rebuilds the "Path" menu from the recent folders (MenuMRUPaths).
    void fillRecentPaths();
    void MenuMRUPathsClick(const QString& folder);

private:
    void addSpecialFolders(QMenu* file, QMenu* music);
    void openSpecialFolder(int which);

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
};
