#pragma once
// Reads one folder in a single pass: readdir (getdents64 underneath) and one statx per
// entry relative to the open folder, plus Samba's user.DOSATTRIB where the file system has
// extended attributes. Links are followed so that a link to a folder is a folder; a broken
// link is reported as itself. The folder is never made the process's working folder.

#include "browse/FileAttributes.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

struct FolderEntry {
    const char* name = nullptr; // NUL-terminated, valid only during the visit
    size_t nameLength = 0;
    bool isDirectory = false;
    uint32_t attributes = 0;    // FileAttribute bits
    int64_t size = 0;           // bytes; 0 for folders
    bool hasTime = false;
    int64_t mtimeSeconds = 0;   // last write, seconds since 1970 (UTC)
    uint32_t mtimeNanoseconds = 0;
};

class FolderReader {
public:
    enum class Scope { All, FoldersOnly };

    explicit FolderReader(QString folder, Scope scope = Scope::All);

    // Calls visit for every entry except "." and ".."; visit returns false to stop early.
    // Returns false (with errorString()) when the folder cannot be opened.
    bool read(const std::function<bool(const FolderEntry&)>& visit);
    QString errorString() const { return m_error; }

private:
    QString m_folder;
    Scope m_scope;
    QString m_error;
};
