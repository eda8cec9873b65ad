#pragma once
// Files made and read by their bytes, below the program's own layers, so that a test of
// names that are not UTF-8 sees exactly what the file system holds.

#include "platform/DirStream.h"
#include "platform/FileName.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace ByteFiles {

using Names = QList<QByteArray>;

// The names in a folder as the file system holds them, ordered by their bytes.
inline Names namesIn(const QByteArray& folder)
{
    Names names;
    DirStream dir(folder);
    while (const dirent* entry = dir.next())
        names << QByteArray(entry->d_name);
    std::sort(names.begin(), names.end());
    return names;
}

inline Names namesIn(const QString& folder)
{
    return namesIn(FileName::encode(folder));
}

// Creates path (never replacing a file) holding bytes.
inline void writeFile(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.toStdString();
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

// The first 256 bytes of path, or "<missing>".
inline QByteArray readFile(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "<missing>";
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return QByteArray(buffer, n > 0 ? qsizetype(n) : 0);
}

} // namespace ByteFiles
