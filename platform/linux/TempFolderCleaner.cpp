#include "platform/TempFolderCleaner.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"

#include <QDir>
#include <QSet>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxDepth = 200; // each level holds one descriptor
const QString kComponent = QStringLiteral("Temporary folder");

using FileKey = QPair<quint64, quint64>; // device, inode

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

Status refused(const QString& folder, const QString& why)
{
    return Status::failure(kComponent, QStringLiteral("The temporary folder \"%1\" %2; nothing was deleted.").arg(folder, why));
}

QString realFolder(const QString& path)
{
    if (path.isEmpty())
        return QString();
    char* resolved = ::realpath(FileName::encode(path).constData(), nullptr);
    if (!resolved)
        return QString();
    const QString real = FileName::decode(QByteArray(resolved));
    ::free(resolved);
    return real;
}

// folder is inside the protected one or above it (or it is the same).
bool overlaps(const QString& folder, const QString& kept)
{
    if (kept.isEmpty())
        return false;
    const QString inside = folder == QLatin1String("/") ? folder : folder + QLatin1Char('/');
    return kept == folder || kept.startsWith(inside);
}

QStringList protectedFolders()
{
    QStringList folders{QDir::homePath()};
    for (const auto location : {QStandardPaths::DesktopLocation, QStandardPaths::DocumentsLocation, QStandardPaths::DownloadLocation,
                                QStandardPaths::MusicLocation, QStandardPaths::PicturesLocation, QStandardPaths::MoviesLocation,
                                QStandardPaths::TemplatesLocation, QStandardPaths::PublicShareLocation,
                                QStandardPaths::GenericDataLocation, QStandardPaths::GenericConfigLocation,
                                QStandardPaths::GenericCacheLocation})
        folders << QStandardPaths::writableLocation(location);
    QStringList real;
    for (const QString& folder : folders) {
        const QString resolved = realFolder(folder);
        if (!resolved.isEmpty())
            real << resolved;
    }
    return real;
}

FileKey keyOf(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

// Every file and working folder that a running process of this user holds, by device and
// inode (the /proc links are followed to the files themselves).
QSet<FileKey> filesInUse()
{
    QSet<FileKey> held;
    const uid_t uid = ::getuid();
    std::unique_ptr<DIR, DirCloser> proc(::opendir("/proc"));
    if (!proc)
        return held;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        const QByteArray base = QByteArray("/proc/") + entry->d_name;
        struct stat owner {};
        if (::stat(base.constData(), &owner) != 0 || owner.st_uid != uid)
            continue;
        struct stat st {};
        if (::stat(QByteArray(base + "/cwd").constData(), &st) == 0)
            held.insert(keyOf(st));
        std::unique_ptr<DIR, DirCloser> fds(::opendir(QByteArray(base + "/fd").constData()));
        if (!fds)
            continue;
        while (const dirent* fd = ::readdir(fds.get())) {
            if (fd->d_name[0] != '.' && ::fstatat(::dirfd(fds.get()), fd->d_name, &st, 0) == 0)
                held.insert(keyOf(st));
        }
    }
    return held;
}

class Walk {
public:
    Walk(dev_t device, const std::function<bool()>& keepGoing)
        : m_uid(::getuid())
        , m_device(device)
        , m_inUse(filesInUse())
        , m_keepGoing(keepGoing)
    {
    }

    // Empties the open folder; false when told to stop.
    bool emptyFolder(int folderFd, const QByteArray& path, int depth);

    TempCleanCounts counts;
    QString firstError;

private:
    bool removeEntry(int folderFd, const QByteArray& path, const QByteArray& name, int depth);
    void fail(const QByteArray& path)
    {
        ++counts.failed;
        if (firstError.isEmpty())
            firstError = QStringLiteral("Cannot delete \"%1\": %2").arg(FileName::decode(path), QString::fromLocal8Bit(std::strerror(errno)));
    }

    uid_t m_uid;
    dev_t m_device;
    QSet<FileKey> m_inUse;
    const std::function<bool()>& m_keepGoing;
};

bool Walk::emptyFolder(int folderFd, const QByteArray& path, int depth)
{
    std::vector<QByteArray> names;
    {
        const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        std::unique_ptr<DIR, DirCloser> dir(listFd >= 0 ? ::fdopendir(listFd) : nullptr);
        if (!dir) {
            if (listFd >= 0)
                ::close(listFd);
            fail(path);
            return true;
        }
        while (const dirent* entry = ::readdir(dir.get())) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
    }
    for (const QByteArray& name : names) {
        if (!removeEntry(folderFd, path, name, depth))
            return false;
    }
    return true;
}

bool Walk::removeEntry(int folderFd, const QByteArray& folder, const QByteArray& name, int depth)
{
    // The path is only needed for a message or a folder's walk: made when it is.
    const auto path = [&folder, &name] { return QByteArray(folder + '/' + name); };
    struct stat st {};
    if (::fstatat(folderFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) // gone meanwhile: nothing to do
            fail(path());
        return true;
    }
    const bool special = S_ISSOCK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode);
    const bool inUse = m_inUse.contains(keyOf(st));
    if (st.st_uid != m_uid || special || st.st_dev != m_device || (inUse && !S_ISDIR(st.st_mode))) {
        ++counts.kept;
        return true;
    }
    if (S_ISDIR(st.st_mode)) {
        if (depth >= kMaxDepth) {
            ++counts.kept;
            return true;
        }
        const FileDescriptor sub(::openat(folderFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!sub.isOpen()) {
            fail(path());
            return true;
        }
        const std::int64_t keptBefore = counts.kept + counts.failed;
        if (!emptyFolder(sub.get(), path(), depth + 1))
            return false;
        // A folder that still holds what was kept, or that a process works in, stays.
        if (inUse || counts.kept + counts.failed != keptBefore) {
            ++counts.kept;
            return m_keepGoing ? m_keepGoing() : true;
        }
        if (::unlinkat(folderFd, name.constData(), AT_REMOVEDIR) == 0)
            ++counts.deleted;
        else if (errno == ENOTEMPTY || errno == EEXIST) // something new arrived: it stays
            ++counts.kept;
        else if (errno != ENOENT)
            fail(path());
    } else if (::unlinkat(folderFd, name.constData(), 0) == 0) {
        ++counts.deleted;
    } else if (errno != ENOENT) {
        fail(path());
    }
    return m_keepGoing ? m_keepGoing() : true;
}

} // namespace

QString TempFolderCleaner::temporaryFolder()
{
    const QByteArray set = qgetenv("TMPDIR");
    return set.isEmpty() ? QStringLiteral("/tmp") : FileName::decode(set);
}

Status TempFolderCleaner::check(const QString& folder)
{
    if (folder.isEmpty())
        return Status::failure(kComponent, QStringLiteral("No temporary folder is set; nothing was deleted."));
    struct stat st {};
    const QString real = realFolder(folder);
    if (real.isEmpty() || ::stat(FileName::encode(real).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return refused(folder, QStringLiteral("is not a folder"));
    if (real == QLatin1String("/"))
        return refused(folder, QStringLiteral("is the root folder"));
    for (const QString& kept : protectedFolders()) {
        if (overlaps(real, kept))
            return refused(folder, QStringLiteral("is (or holds) the home folder or one of the user's folders"));
    }
    return Status();
}

Status TempFolderCleaner::empty(const QString& folder, TempCleanCounts* counts, const std::function<bool()>& keepGoing)
{
    if (const Status allowed = check(folder); !allowed)
        return allowed;
    const QByteArray real = FileName::encode(realFolder(folder));
    const FileDescriptor top(::open(real.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!top.isOpen() || ::fstat(top.get(), &st) != 0)
        return refused(folder, QStringLiteral("cannot be opened"));
    Walk walk(st.st_dev, keepGoing);
    walk.emptyFolder(top.get(), real, 0);
    if (counts)
        *counts = walk.counts;
    return walk.firstError.isEmpty() ? Status() : Status::failure(kComponent, walk.firstError);
}
