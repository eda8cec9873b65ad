#pragma once
// A new archive written beside its final place and linked in only when complete, never
// over an existing file: the file is made under a hidden temporary name in the target
// folder, written through device(), flushed to disk, and moved with RENAME_NOREPLACE to the
// first free name of a numbered series ("x.zip", "x(2).zip", ...). Destroyed uncommitted,
// it leaves nothing behind.

#include <QFile>
#include <QString>

#include <functional>

class PendingArchive {
public:
    explicit PendingArchive(const QString& folder);
    ~PendingArchive();
    PendingArchive(const PendingArchive&) = delete;
    PendingArchive& operator=(const PendingArchive&) = delete;

    // False with errorString() when no file can be made in the folder.
    bool create();
    QIODevice* device() { return &m_file; }

    // nameFor(number) gives the name for a number, 1 the plain one. Tries the numbers from
    // first on until one is free; the path taken, or "" with errorString().
    QString commit(const std::function<QString(int)>& nameFor, int first = 1);
    QString errorString() const { return m_error; }

private:
    QString m_folder;
    QByteArray m_temp;
    QFile m_file;
    QString m_error;
};
