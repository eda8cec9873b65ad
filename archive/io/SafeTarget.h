#pragma once
// The folder that extraction writes into, guarded so that nothing lands outside it. Each
// relative path is walked one component at a time with openat(O_NOFOLLOW): a ".." or an
// absolute part is refused, a symbolic link on the way is refused (so a link stored earlier
// in the archive cannot redirect a later file), and files are written to a temporary name
// in their folder and renamed into place only once complete and verified. A failed call
// returns false and leaves the reason in errorString().

#include "io/ReadDevice.h"

#include <QString>

#include <string>

namespace zipio {

class SafeTarget {
public:
    bool open(const QString& rootFolder);

    // Splits a stored name into safe components, leaving out "." parts; false for names
    // that would leave the folder (absolute, drive-prefixed, or with a ".." part) and for an
    // empty name. No parts at all means the folder itself ("./").
    bool splitStoredName(const QString& storedName, QStringList& parts);

    // Opens (creating when asked) the folder of parts[0..n-1] under the root.
    bool openFolder(const QStringList& folders, bool create, UniqueFd& fd);
    bool makeFolder(const QStringList& parts);

    int rootFd() const { return m_root.get(); }
    QString rootPath() const { return m_rootPath; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& message);

    UniqueFd m_root;
    QString m_rootPath;
    QString m_error;
};

// A file being written inside a folder: unnamed (or under a temporary name) until commit()
// gives it its final name; destroyed uncommitted, it leaves nothing behind.
class PendingFile {
public:
    PendingFile(int folderFd, const QString& finalName);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // The file is made with mode (the process's umask applies, as to any new file).
    bool create(uint32_t mode);
    bool write(const uint8_t* data, size_t n);
    bool commit(int64_t mtime);
    // The errno of a failed write, for the reader that feeds it.
    int error() const { return m_errno; }
    QString errorString() const { return m_error; }

private:
    bool linkAnonymous(const QByteArray& name);
    bool renameIntoPlace();
    bool failWithErrno();

    int m_folder;
    QByteArray m_final;
    QByteArray m_temp;
    UniqueFd m_fd;
    int m_errno = 0;
    QString m_error;
    bool m_done = false;
};

} // namespace zipio
