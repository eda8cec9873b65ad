#pragma once
// Export Favorites: writes the favourites folder as a bookmark file (BookmarkFile) that
// desktop browsers import: folders as folders, each entry with the address the menu opens
// and its modification time as ADD_DATE. An entry without an address is left out, and so is
// the content of a folder reached through a link (it may lead back up) or nested deeper than
// BookmarkFile reads. The file is written through a temporary file renamed over the target,
// so an existing file stays whole until the new one is complete.

#include "internet/BookmarkFile.h"
#include "platform/Job.h"

#include <QString>

class FavoritesExportJob final : public Job {
public:
    FavoritesExportJob(const QString& favorites, const QString& target);

    qsizetype exported() const { return m_links; }
    // What the export did, as the user is told it.
    QString summary() const;

protected:
    bool plan() override;
    void execute() override;

private:
    // The folder's entries as children of node; false when the file would get too many.
    bool collect(const QString& folder, BookmarkNode& node, int depth);

    QString m_favorites;
    QString m_target;
    BookmarkNode m_tree;
    qsizetype m_entries = 0;
    qsizetype m_links = 0;
};
