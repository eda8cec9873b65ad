#pragma once
// The browse panes in the main window: makes the drive tabs, the folder tree and the file
// list followers of the window's navigator, follows it for the window (current folder,
// recent folders, focus), and handles the panes' other events (loading progress, opened
// files, tips).

#include <QObject>
#include <QString>

struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowBrowse : public QObject {
    Q_OBJECT
public:
    MainWindowBrowse(TFormMainFolvane3* window, MainWindowControls& c);

    // The browse panes go to folder through the navigator, reloading it: the tree is
    // rebuilt and shows it, the list reads it, and it becomes the window's current folder.
    void goToFolder(const QString& folder);

    // The list's and the tree's attribute filters: with hidden and system entries or without.
    void applyFileFilters(bool showHiddenSystem);

    // The window follows the navigator's folder (the tree's OnDirChange): it becomes the
    // current folder and, in the file manager, the first recent folder.
    void PathViewFol1DirChange(const QString& selectedPath);
    void FileViewFol1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The list's tip for a row: its name, size text and type, one per line.
    QString FileViewFol1InfoTip(int row) const;
    // The strip's tip for a tab: the drive's display name and its type name.
    QString TabControlDriveFol1Hint(int tab) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // In the file manager the current item is the list's first selected item, empty with none.
    void followListSelection();

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
};
