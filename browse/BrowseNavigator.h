#pragma once
// The one owner of the browse panes' current folder. Every route to a folder (the tree,
// the list, the drive tabs, the menus, search results, favourites...) asks the navigator
// to go there; the drive tabs, the folder tree, the file list and the main window follow
// its folderChanged signal, so none of them drives another.
//
// Plain QtCore: it decides where to go and tells, the followers do the showing.

#include <QObject>
#include <QString>

class BrowseNavigator : public QObject {
    Q_OBJECT
public:
    // How the followers reached the folder: opened (by any route), went up from the
    // previous one (the list then selects the folder it came from), or reloaded (the tree
    // is built again and the list re-read, even when the folder did not change).
    enum class Change { Opened, WentUp, Reloaded };
    Q_ENUM(Change)

    explicit BrowseNavigator(QObject* parent = nullptr);

    // The folder shown, with a trailing "/", or "My Computer" for the drives view; empty
    // until the first go.
    QString currentFolder() const { return m_current; }
    bool isDriveView() const;
    // The last folder gone to that is not the drives view, with a trailing "/".
    QString lastFolder() const { return m_last; }

    // Goes to folder and tells the followers once. "My Computer" (any case) is the drives
    // view; a folder that does not exist is replaced by its nearest existing parent, or the
    // home folder when none exists. An empty folder changes nothing.
    void goTo(const QString& folder, Change change = Change::Opened);
    // goTo with Change::Reloaded.
    void reload(const QString& folder);
    // To the parent of the current folder; above a drive's root to the drives view, which
    // has no parent.
    void goUp();
    // Reloads the last folder (or, when it is gone, its nearest existing parent).
    void refresh();

    // The parent of a folder as going up reaches it: a drive's root goes to "My Computer".
    static QString parentOf(const QString& folder);
    // The folder itself, or its nearest existing parent; empty when no part of it exists.
    static QString nearestExisting(const QString& folder);

Q_SIGNALS:
    void folderChanged(const QString& folder, BrowseNavigator::Change change);

private:
    QString m_current;
    QString m_last;
};
