#include "platform/FileProperties.h"

#include "platform/DirStream.h"
#include "platform/FileName.h"
#include "platform/FileTypes.h"
#include "platform/PathText.h"
#include "platform/linux/FileCopier.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Status failed(const QString& message)
{
    return Status::failure(QStringLiteral("Properties"), message);
}

QDateTime timeOf(const struct statx_timestamp& t)
{
    return QDateTime::fromMSecsSinceEpoch(std::int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
}

QString userName(uid_t uid)
{
    const passwd* entry = ::getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

// Where a link points, as an absolute path (a relative target is relative to the link's folder).
QString resolvedLinkTarget(const QByteArray& link, const QString& folder)
{
    std::vector<char> bytes(4096);
    const ssize_t length = ::readlink(link.constData(), bytes.data(), bytes.size());
    if (length < 0)
        return QString();
    const QString target = FileName::decode(bytes.data(), qsizetype(length));
    return QDir::cleanPath(target.startsWith(QLatin1Char('/')) ? target : folder + QLatin1Char('/') + target);
}

void addFolder(const QByteArray& folder, dev_t device, const std::atomic<bool>* stop, FileProperties::Total* total)
{
    DirStream dir(folder);
    if (!dir.isOpen()) {
        total->complete = false;
        return;
    }
    std::vector<QByteArray> subfolders;
    while (const dirent* entry = dir.next()) {
        const QByteArray path = PathText::joined(folder, entry->d_name);
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            ++total->folders;
            if (st.st_dev == device)
                subfolders.push_back(path);
        } else {
            ++total->files;
            total->bytes += S_ISREG(st.st_mode) ? st.st_size : 0;
        }
    }
    for (const QByteArray& sub : subfolders) {
        if (stop && *stop) {
            total->complete = false;
            return;
        }
        addFolder(sub, device, stop, total);
    }
}

} // namespace

Result<FileProperties> FileProperties::read(const QString& path)
{
    struct statx st {};
    const QByteArray native = FileName::encode(path);
    if (::statx(AT_FDCWD, native.constData(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) {
        return failed(errno == ENOENT || errno == ENOTDIR ? QStringLiteral("The specified file was not found.")
                                                          : FileCopier::errorText(errno));
    }
    const QFileInfo info(path);
    FileProperties p;
    p.isFolder = S_ISDIR(st.stx_mode);
    p.name = info.fileName().isEmpty() ? path : info.fileName();
    p.typeName = S_ISLNK(st.stx_mode) ? QStringLiteral("Link") : FileTypes::typeName(path, p.isFolder);
    p.location = info.absolutePath();
    if (S_ISLNK(st.stx_mode))
        p.linkTarget = resolvedLinkTarget(native, p.location);
    p.size = p.isFolder ? 0 : std::int64_t(st.stx_size);
    p.modified = timeOf(st.stx_mtime);
    p.accessed = timeOf(st.stx_atime);
    if (st.stx_mask & STATX_BTIME)
        p.created = timeOf(st.stx_btime);
    p.owner = userName(st.stx_uid);
    p.group = groupName(st.stx_gid);
    p.permissions = st.stx_mode & 07777;
    p.canChangePermissions = !S_ISLNK(st.stx_mode) && (::geteuid() == 0 || ::geteuid() == st.stx_uid);
    return p;
}

FileProperties::Total FileProperties::folderTotal(const QString& folder, const std::atomic<bool>* stop)
{
    Total total;
    struct stat st {};
    const QByteArray native = FileName::encode(QDir::cleanPath(folder));
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        total.complete = false;
        return total;
    }
    addFolder(native == "/" ? QByteArray() : native, st.st_dev, stop, &total);
    return total;
}

Status FileProperties::setPermissions(const QString& path, unsigned permissions)
{
    if (::chmod(FileName::encode(path).constData(), permissions & 07777) == 0)
        return Status();
    return failed(FileCopier::errorText(errno));
}

QString FileProperties::permissionText(unsigned permissions)
{
    QString text;
    for (int shift : {6, 3, 0}) {
        const unsigned bits = (permissions >> shift) & 7;
        text += QLatin1Char(bits & 4 ? 'r' : '-');
        text += QLatin1Char(bits & 2 ? 'w' : '-');
        text += QLatin1Char(bits & 1 ? 'x' : '-');
    }
    return text;
}
