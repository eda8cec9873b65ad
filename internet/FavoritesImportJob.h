#pragma once
// Import Favorites: merges a bookmark file (BookmarkFile) into the favourites folder as
// folders and internet shortcuts. Nothing is read from the folder or written to it until the
// whole file has been read; a file that cannot be read changes nothing.
//
// Nothing already in the folder is replaced or removed:
// - a folder of the file whose name is a folder in the favourites is merged into it;
// - a link whose address is already in the folder it goes to (under any name, or earlier in
//   the same import) is a duplicate and left out;
// - a name taken by another entry gets " (2)", " (3)", ... before its extension;
// - an address the web pane would not open (javascript:, place:, data:, ftp:) is left out.
// Each shortcut is written through a temporary file moved to a name that is still free, so
// an import that stops half-way leaves whole files only.

#include "internet/BookmarkFile.h"
#include "platform/Job.h"

#include <QSet>
#include <QString>

class FavoritesImportJob final : public Job {
public:
    FavoritesImportJob(const QString& source, const QString& favorites);

    int added() const { return m_added; }
    int duplicates() const { return m_duplicates; }
    int refused() const { return m_refused; }
    // What the import did, as the user is told it.
    QString summary() const;

protected:
    bool plan() override;
    void execute() override;

private:
    void merge(const BookmarkNode& from, const QString& folder);
    // The folder a folder of the file goes to: one of that name, else a new one; empty when
    // it could not be made.
    QString folderFor(const BookmarkNode& node, const QString& parent);
    void addLink(const BookmarkNode& link, const QString& folder, QSet<QString>& known);

    QString m_source;
    QString m_favorites;
    BookmarkNode m_tree;
    int m_added = 0;
    int m_duplicates = 0;
    int m_refused = 0;
};
