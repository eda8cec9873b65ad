#pragma once
// A folder open for reading its entries, closed by the destructor: the one wrapper around
// opendir/fdopendir/readdir/closedir. Entries come in the order the file system gives them,
// "." and ".." left out.

#include "platform/Status.h"

#include <QByteArray>
#include <QString>

#include <vector>

#include <dirent.h>

class DirStream {
public:
    // Opens the folder at path; isOpen() tells whether that worked, status() why not (errno
    // is left set for the caller too).
    explicit DirStream(const QByteArray& path);
    ~DirStream();
    DirStream(const DirStream&) = delete;
    DirStream& operator=(const DirStream&) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    // The errno of a failed open, 0 otherwise.
    int error() const { return m_error; }
    // A failure "Cannot read the folder "<path>": <reason>" after a failed open.
    const Status& status() const { return m_status; }
    // The folder's descriptor, for the *at() calls on its entries; -1 when not open.
    int fd() const;

    // The next entry, or nullptr after the last one.
    const dirent* next();
    // The names of the entries not read yet, in byte order.
    std::vector<QByteArray> sortedNames();

private:
    DIR* m_dir = nullptr;
    int m_error = 0;
    Status m_status;
};
