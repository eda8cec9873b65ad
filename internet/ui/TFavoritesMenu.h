#pragma once
// The Favorites menu of the menu bar: it mirrors the program's favourites folder, folders
// as submenus read when first opened (off the UI thread), " (Empty) " in an empty folder,
// captions cut to MaxWidth characters and "...", then "Add to Favorites" and "Organize
// Favorites" at the top. Choosing an entry sends its address with URLSelected; the pane
// checks it against its address rules before loading anything.

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class WebBrowserPane;

class TFavoritesMenu : public QObject {
    Q_OBJECT
public:
    // Inserts the menu into menuBar at the 1-based position menuPos (clamped to the bar).
    TFavoritesMenu(QMenuBar* menuBar, const QString& folder, int menuPos, QObject* parent = nullptr);

    QMenu* menu() const { return m_menu; }
    QString folder() const { return m_folder; }
    // The browser that Add to Favorites reads.
    void setWebbrowser(WebBrowserPane* browser) { m_browser = browser; }
    int maxWidth() const { return m_maxWidth; }

    void AddFavoritesClick();
    void OrganizeFavoritesClick();
    // Empties the menu, adds the fixed items and reads the folder again.
    void rebuild();

Q_SIGNALS:
    void URLSelected(const QString& url);
    // Organize Favorites: the folder is shown in the program's own file manager.
    void organizeRequested(const QString& folder);
    // A folder's submenu (or the top menu) has been filled from its folder.
    void folderFilled(QMenu* menu);

private:
    void addFixedItems();
    void prepareFolderMenu(QMenu* menu, const QString& folder);
    void fill(QMenu* menu);

    QMenu* m_menu;
    QString m_folder;
    WebBrowserPane* m_browser = nullptr;
    int m_maxWidth = 50;
};
