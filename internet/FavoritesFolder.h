#pragma once
// The favourites folder as the Favorites menu shows it: one level at a time (submenus are
// read when first opened), folders first and then the other entries, each group by name
// with case ignored; hidden entries left out. An internet shortcut shows its name without
// ".url". Reading is bounded: at most kMaxItems entries of one folder are listed.

#include <QList>
#include <QString>

struct FavoriteItem {
    QString name; // as shown, before shortening
    QString path;
    bool isFolder = false;
    QString address; // of a non-folder entry (addressOf), read with the listing
};

class FavoritesFolder {
public:
    static constexpr int kMaxItems = 1000;
    static constexpr int kDefaultMaxWidth = 50;

    // The entries of folder (a missing or unreadable folder has none), with their addresses:
    // the first kMaxItems for the menu, or the first limit.
    static QList<FavoriteItem> items(const QString& folder, int limit = kMaxItems);
    // The menu caption: name cut to maxWidth characters followed by "..." when longer.
    static QString caption(const QString& name, int maxWidth = kDefaultMaxWidth);
    // The address an entry stands for: the URL of an internet shortcut, the target of a
    // desktop link, the file itself (a saved page) for any other file; empty for a shortcut
    // without an address.
    static QString addressOf(const QString& path);
    // "1 favorite", "<count> favorites".
    static QString countText(qsizetype count);
    // The name an entry is shown with: a file name without ".url".
    static QString displayName(const QString& fileName);
};
