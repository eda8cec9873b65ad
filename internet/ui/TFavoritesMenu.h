#pragma once
// The Favorites menu of the menu bar: it mirrors the program's favourites folder, folders
// as submenus read when first opened (off the UI thread), " (Empty) " in an empty folder,
// captions cut to MaxWidth characters and "...", under the fixed items its options ask for:
// "Add to Favorites" and "Organize Favorites", then "Import Favorites" and "Export Favorites"
// (bookmark files of desktop browsers), each pair followed by a separator. Choosing an entry
// sends its address with URLSelected; the pane checks it against its address rules before
// loading anything.

#include <QFlags>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class WebBrowserPane;

enum class FavoritesOption {
    AddFavorites = 0x1,
    OrganizeFavorites = 0x2,
    ImportFavorites = 0x4,
    ExportFavorites = 0x8,
};
Q_DECLARE_FLAGS(FavoritesOptions, FavoritesOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(FavoritesOptions)

class TFavoritesMenu : public QObject {
    Q_OBJECT
public:
    static constexpr FavoritesOptions kDefaultOptions{FavoritesOption::AddFavorites | FavoritesOption::OrganizeFavorites};

    // Inserts the menu into menuBar at the 1-based position menuPos (clamped to the bar).
    TFavoritesMenu(QMenuBar* menuBar, const QString& folder, int menuPos, QObject* parent = nullptr,
                   FavoritesOptions options = kDefaultOptions);

    QMenu* menu() const { return m_menu; }
    QString folder() const { return m_folder; }
    // The browser that Add to Favorites reads.
    void setWebbrowser(WebBrowserPane* browser) { m_browser = browser; }
    int maxWidth() const { return m_maxWidth; }

    void AddFavoritesClick();
    void OrganizeFavoritesClick();
    // Merge a bookmark file into the folder, or write the folder as one; then rebuild.
    void ImportFavoritesClick();
    void ExportFavoritesClick();
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
    void addFixedItem(FavoritesOption option, const char* name, const char* caption, void (TFavoritesMenu::*handler)());
    void prepareFolderMenu(QMenu* menu, const QString& folder);
    void fill(QMenu* menu);

    QMenu* m_menu;
    QString m_folder;
    WebBrowserPane* m_browser = nullptr;
    FavoritesOptions m_options;
    int m_maxWidth = 50;
    int m_generation = 0; // counts rebuilds: a listing started before the last one is dropped
};
