#pragma once
// Reads one folder: readdir (getdents64 underneath) and one statx per entry relative to the
// open folder, plus Samba's user.DOSATTRIB where the file system has extended attributes.
// Links are followed so that a link to a folder is a folder; a broken link is reported as
// itself. The folder is never made the process's working folder.
//
// Either in one pass (read: names and details together, batch by batch, the next batch
// examined while the caller visits one), or in two for a caller that shows names before
// their details (open, readNames, examine): the names of a big folder come from the
// directory alone many times faster than their details. The details cost two system calls
// per entry (statx, and the attribute read where the file system may hold it), most of it
// the kernel's lookup of the name; large sets of entries are examined on a few threads.

#include "browse/FileAttributes.h"
#include "browse/FolderNames.h"
#include "browse/HiddenList.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>

struct FolderEntry {
    const char* name = nullptr; // NUL-terminated, valid only during the visit; null: gone
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
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Calls visit for every entry except "." and ".."; visit returns false to stop early.
    // Returns false (with errorString()) when the folder cannot be opened.
    bool read(const std::function<bool(const FolderEntry&)>& visit);
    QString errorString() const { return m_error; }

    // Opens the folder and reads its ".hidden" list; false (with errorString()) on failure.
    bool open();
    // Appends names (not "." and ".."; only possible folders in the FoldersOnly scope),
    // calling added after each; stops when added returns false. Returns false once the folder
    // has no more names.
    bool readNames(FolderNames& names, const std::function<bool()>& added);
    // What the name and the directory's type tell without a stat: Directory, Archive or
    // System by the type, Hidden by a leading dot or the ".hidden" list. ReadOnly and
    // Samba's bits need examine.
    uint32_t nameAttributes(const FolderNames& names, size_t i) const;
    // The details of names[indexes[k]] into entries[k], for k below count; an entry removed
    // since its name was read gets a null name. Sets of parallelThreshold entries or more are
    // cut into slices, one per thread, each slice's results in its own entries: the outcome
    // is the same whatever the number of threads.
    void examine(const FolderNames& names, const uint32_t* indexes, size_t count, FolderEntry* entries) const;
    // The same on other threads, so that the caller can go on with earlier entries meanwhile;
    // the entries are complete when the future is ready (its destructor waits for them).
    // Names, indexes and entries must stay put until then.
    std::future<void> examineAsync(const FolderNames& names, const uint32_t* indexes, size_t count,
                                   FolderEntry* entries) const;
    static constexpr size_t parallelThreshold = 512;
    // The threads examine uses for a large set: 0 (the default) for one per core up to
    // eight, another number for exactly that many.
    void setThreadCount(unsigned count) { m_threadCount = count; }

    // The attributes of one entry exactly as a listing of its folder gives them (the file
    // list's Attr column): its type and mode, a leading dot or the folder's ".hidden" list,
    // Samba's user.DOSATTRIB. nullopt when it is not there or its folder cannot be read.
    static std::optional<uint32_t> entryAttributes(const QString& folder, const QString& name);
    static std::optional<uint32_t> entryAttributes(const QString& path);

private:
    QString m_folder;
    Scope m_scope;
    QString m_error;
    struct Batch;
    bool fillBatch(Batch& batch, size_t limit);
    void examineBatch(Batch& batch) const;
    bool visitBatch(const Batch& batch, const std::function<bool(const FolderEntry&)>& visit) const;
    size_t threadsFor(size_t count) const;

    unsigned m_threadCount = 0;
    struct Open;
    std::unique_ptr<Open> m_open;
};
