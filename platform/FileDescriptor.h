#pragma once
// An open file descriptor that closes itself, and the one way the program opens a path at
// the system level: FileDescriptor::open() gives an open descriptor, or a closed one whose
// status() names the path and the system's reason.

#include "platform/Status.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

#include <sys/types.h>

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    // Opens path with flags (O_CLOEXEC is always added) and, for a file it creates, mode.
    // On failure errno is kept for the caller, error() holds it too.
    static FileDescriptor open(const QByteArray& path, int flags, mode_t mode = 0);

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // The errno of a failed open(), 0 otherwise.
    int error() const { return m_error; }
    // A failure "Cannot open "<path>": <reason>" after a failed open().
    const Status& status() const { return m_status; }

    // Reads up to length bytes at offset, going on after short reads and interrupted calls;
    // fewer only at the end of the file. -1 on an error (errno tells which).
    std::int64_t readAt(std::int64_t offset, char* buffer, std::int64_t length) const;
    // Closes the descriptor held (if any) and holds fd instead.
    void reset(int fd = -1);
    // Hands the descriptor over to the caller, who closes it.
    int release();
    // Closes now and reports the result of close(): a network file system may report a
    // failed write only here.
    bool close();

private:
    int m_fd = -1;
    int m_error = 0;
    Status m_status;
};
