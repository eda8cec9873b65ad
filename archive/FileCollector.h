#pragma once
// Turns an add-files mask into the entries to add: which files match (with recursion into
// subfolders when asked), and under which stored name each goes, by the store options.

#include "ZipEntry.h"
#include "ZipOptions.h"

#include <QString>
#include <vector>

class FileCollector {
public:
    FileCollector(const QString& baseDirectory, ZipStoreOptions options, bool dosMode)
        : m_base(baseDirectory), m_options(options), m_dosMode(dosMode) {}

    // The archive itself is never added to itself (nothing to skip while it does not exist).
    void skipFile(const QString& path);
    // Every file (and, when recursing, folder) that the mask names, as new entries; false
    // with errorString() when the mask's folder does not exist.
    bool collect(const QString& mask, std::vector<ZipEntry>& found);
    QString storedName(const QString& absolutePath, bool isFolder) const;
    QString errorString() const { return m_error; }

private:
    void addFolderTree(const QString& folder, const QString& pattern, std::vector<ZipEntry>& found) const;
    bool makeEntry(const QString& path, ZipEntry& entry) const;

    QString m_base;
    ZipStoreOptions m_options;
    bool m_dosMode;
    // The skipped file's identity, taken once rather than for every file collected.
    bool m_hasSkip = false;
    uint64_t m_skipDevice = 0;
    uint64_t m_skipInode = 0;
    QString m_error;
};
