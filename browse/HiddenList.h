#pragma once
// The names a folder's ".hidden" file lists: one file name per line, as the common Linux
// file managers honour it. Names are bytes (file names on Linux need not be UTF-8); a
// trailing "\r" is dropped so that files written on Windows work, empty lines are ignored.
// The file comes from the folder being browsed, so it is read with a size cap and never
// opened unless it is a regular file.

#include <QByteArray>
#include <QSet>

class HiddenList {
public:
    // The largest ".hidden" file that is read; a bigger one is ignored as a whole.
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;

    // Parses the contents of a ".hidden" file.
    static HiddenList fromBytes(const char* data, size_t size);
    // Reads "<folder>/.hidden" through an open folder descriptor; empty when it is missing,
    // not a regular file, unreadable or larger than maxFileSize.
    static HiddenList read(int folderFd);

    bool isEmpty() const { return m_names.isEmpty(); }
    bool contains(const char* name, size_t length) const;
    qsizetype size() const { return m_names.size(); }

private:
    QSet<QByteArray> m_names;
};
