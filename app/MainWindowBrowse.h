#pragma once
// The browse panes in the main window: links the drive tabs, the folder tree and the file
// list to each other and to the window, handles their events (folder change, loading
// progress, opened files), and holds the one sequence every route to a folder ends in.

#include <QObject>
#include <QString>

struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowBrowse : public QObject {
    Q_OBJECT
public:
    MainWindowBrowse(TFormMainFolvane3* window, MainWindowControls& c);

    // The browse panes go to folder: the tree is rebuilt and shows it, the list reads it,
    // and it becomes the window's current folder. Pending events run between the steps.
    void goToFolder(const QString& folder);

    // The file manager shows folder; an empty or missing folder opens the current folder
    // instead (or its nearest existing parent, or the home folder), without a message.
    void openInFileManager(const QString& folder);

    // The list's and the tree's attribute filters: with hidden and system entries or without.
    void applyFileFilters(bool showHiddenSystem);

    // The folder the window falls back to: the current folder when it exists, else its
    // nearest existing parent, else the home folder. Never the process's working folder.
    QString existingCurrentFolder() const;

    void PathViewFol1DirChange(const QString& selectedPath);
    void FileViewFol1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The list's tip for a row: its name, size text and type, one per line.
    QString FileViewFol1InfoTip(int row) const;
    // The strip's tip for a tab: the drive's display name and its type name.
    QString TabControlDriveFol1Hint(int tab) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openFileWithShell(const QString& file);

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
};
