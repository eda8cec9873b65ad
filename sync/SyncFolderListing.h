#pragma once
// The entries of one folder of a synchronised pair, read once with lstat (links are never
// followed, so a link to a folder is an entry like a file and a link loop is never walked),
// ordered by the bytes of their names.

#include "sync/SyncRules.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct SyncFolderEntry {
    QByteArray name;
    SyncEntry entry;
};

class SyncFolderListing {
public:
    // Reads folder; a folder that is not there gives an empty listing without an error
    // (its mirror is made later), one that cannot be read sets errorString().
    explicit SyncFolderListing(const QByteArray& folder);

    const std::vector<SyncFolderEntry>& entries() const { return m_entries; }
    QString errorString() const { return m_error; }

    // The plain files directly inside, and their bytes.
    std::int64_t fileCount() const;
    std::int64_t fileBytes() const;

private:
    std::vector<SyncFolderEntry> m_entries;
    QString m_error;
};
