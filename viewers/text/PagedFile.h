#pragma once
// A file read in windows at any offset, never loaded whole: the viewer, its line index and
// its search each read the bytes they need with pread. Only regular files (or links to one)
// open; a FIFO or device is refused before anything could block on it.

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class PagedFile {
public:
    // Opens path (names as bytes, FileName); false with errorString() when it is not a
    // readable regular file.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return m_fd.isOpen(); }

    QString path() const { return m_path; }
    // The size when the file was opened.
    std::int64_t size() const { return m_size; }
    // Up to length bytes from offset (fewer at the end of the file, none past it). Safe to
    // call from several threads at once.
    QByteArray read(std::int64_t offset, std::int64_t length) const;
    // Reads into buffer; the number of bytes read, -1 on a read error.
    std::int64_t readInto(std::int64_t offset, char* buffer, std::int64_t length) const;

    QString errorString() const { return m_error; }

private:
    FileDescriptor m_fd;
    QString m_path;
    std::int64_t m_size = 0;
    QString m_error;
};
