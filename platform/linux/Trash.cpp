#include "platform/Trash.h"

#include "platform/Drives.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/linux/FileCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes of a path besides the unreserved ones left as they are in a .trashinfo Path (as GLib
// writes them).
const QByteArray kPathSafe = "/";
constexpr qint64 kMaxInfoSize = 64 * 1024;

Status failed(const QString& message)
{
    return Status::failure(QStringLiteral("Trash"), message);
}

QByteArray native(const QString& path)
{
    return FileName::encode(path);
}

bool statOf(const QString& path, struct stat* st, bool follow = true)
{
    return (follow ? ::stat(native(path).constData(), st) : ::lstat(native(path).constData(), st)) == 0;
}

// A trash folder with files/ and info/ that belongs to us (not a link planted by someone).
bool prepareTrash(const QString& folder)
{
    for (const QString& path : QStringList{folder, folder + QStringLiteral("/files"), folder + QStringLiteral("/info")}) {
        ::mkdir(native(path).constData(), 0700);
        struct stat st {};
        if (!statOf(path, &st, false) || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
            return false;
    }
    return true;
}

// The mount point that holds path: the highest folder above it on the same device.
QString topFolderOf(const QString& path, dev_t device)
{
    QString top = QFileInfo(path).absolutePath();
    for (;;) {
        const QString parent = QFileInfo(top).path();
        struct stat st {};
        if (parent == top || !statOf(parent, &st) || st.st_dev != device)
            return top;
        top = parent;
    }
}

// The volume trash for items under topdir: an administrator's sticky $topdir/.Trash/$uid, else
// $topdir/.Trash-$uid.
QString volumeTrash(const QString& top)
{
    const QString base = top == QLatin1String("/") ? QString() : top;
    const QString uid = QString::number(::getuid());
    const QString shared = base + QStringLiteral("/.Trash");
    struct stat st {};
    if (statOf(shared, &st, false) && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)
        && prepareTrash(shared + QLatin1Char('/') + uid))
        return shared + QLatin1Char('/') + uid;
    const QString own = base + QStringLiteral("/.Trash-") + uid;
    return prepareTrash(own) ? own : QString();
}

// The folder a relative Path key of a trash is relative to.
QString topOfTrash(const QString& trashFolder)
{
    QDir dir(trashFolder);
    if (dir.dirName().startsWith(QLatin1String(".Trash-")))
        return QFileInfo(trashFolder).path();
    if (QFileInfo(trashFolder).path().endsWith(QLatin1String("/.Trash")))
        return QFileInfo(QFileInfo(trashFolder).path()).path();
    return QStringLiteral("/");
}

// The item's path with every folder above it resolved: an item reached through a linked
// folder belongs to the volume (and trash) where it really lies, and is restored there.
QString realLocation(const QString& path)
{
    const QFileInfo item(LocalFiles::absolutePath(path));
    char* real = ::realpath(native(item.path()).constData(), nullptr);
    if (!real)
        return item.filePath();
    const QString folder = FileName::decode(real);
    ::free(real);
    return (folder == QLatin1String("/") ? QString() : folder) + QLatin1Char('/') + item.fileName();
}

// The .trashinfo files of a trash's info folder.
QStringList infoFiles(const QString& infoFolder)
{
    QStringList names = LocalFiles::entryNames(infoFolder);
    names.removeIf([](const QString& name) { return !name.endsWith(QLatin1String(".trashinfo")) || name.size() == 10; });
    return names;
}

// The start of an info file (enough to tell one that is too big), empty when unreadable.
QByteArray readInfo(const QString& path)
{
    QFile file;
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return QByteArray();
    }
    return file.read(kMaxInfoSize + 1);
}

// Reserves a free name in the trash by creating its info file exclusively.
Result<QString> reserveName(const QString& trash, const QString& name, const QByteArray& info)
{
    const QFileInfo parts(name);
    for (int n = 1; n < 10000; ++n) {
        QString candidate = name;
        if (n > 1) {
            const QString suffix = parts.completeSuffix();
            candidate = suffix.isEmpty() || parts.baseName().isEmpty()
                ? QString(name + QLatin1Char('.') + QString::number(n))
                : parts.baseName() + QLatin1Char('.') + QString::number(n) + QLatin1Char('.') + suffix;
        }
        const QByteArray infoPath = native(trash + QStringLiteral("/info/") + candidate + QStringLiteral(".trashinfo"));
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return failed(FileCopier::errorText(errno));
        }
        struct stat st {};
        const bool written = ::write(fd, info.constData(), std::size_t(info.size())) == info.size();
        const bool closed = ::close(fd) == 0;
        if (written && closed && !statOf(trash + QStringLiteral("/files/") + candidate, &st, false))
            return candidate;
        ::unlink(infoPath.constData());
        if (!written || !closed)
            return failed(FileCopier::errorText(errno));
    }
    return failed(QStringLiteral("No free name in the trash"));
}

} // namespace

QString Trash::homeTrash()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
}

QByteArray Trash::infoText(const QString& pathKey, const QDateTime& deletionDate)
{
    return "[Trash Info]\nPath=" + native(pathKey).toPercentEncoding(kPathSafe) + "\nDeletionDate="
        + deletionDate.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + "\n";
}

bool Trash::parseInfo(const QByteArray& text, QString* pathKey, QDateTime* deletionDate)
{
    if (text.size() > kMaxInfoSize)
        return false;
    bool inGroup = false;
    bool seenGroup = false;
    QByteArray path;
    QByteArray date;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            inGroup = line == "[Trash Info]";
            seenGroup = seenGroup || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        if (line.startsWith("Path=") && path.isEmpty())
            path = line.mid(5);
        else if (line.startsWith("DeletionDate=") && date.isEmpty())
            date = line.mid(13);
    }
    if (!seenGroup || path.isEmpty())
        return false;
    *pathKey = FileName::decode(QByteArray::fromPercentEncoding(path));
    *deletionDate = QDateTime::fromString(QString::fromLatin1(date), QStringLiteral("yyyy-MM-ddThh:mm:ss"));
    return !pathKey->isEmpty() && !pathKey->contains(QChar(0));
}

Status Trash::moveToTrash(const QString& path)
{
    const QString absolute = realLocation(path);
    struct stat item {};
    struct stat homeData {};
    if (!statOf(absolute, &item, false))
        return failed(FileCopier::errorText(errno));
    QString trash = homeTrash();
    QString key = absolute;
    LocalFiles::makePath(QFileInfo(trash).path());
    if (!statOf(QFileInfo(trash).path(), &homeData) || homeData.st_dev != item.st_dev) {
        const QString top = topFolderOf(absolute, item.st_dev);
        trash = volumeTrash(top);
        key = QDir(top).relativeFilePath(absolute);
    } else if (!prepareTrash(trash)) {
        trash.clear();
    }
    if (trash.isEmpty())
        return failed(QStringLiteral("The volume has no trash folder that can be used"));
    const Result<QString> reserved = reserveName(trash, QFileInfo(absolute).fileName(), infoText(key, QDateTime::currentDateTime()));
    if (!reserved)
        return reserved.status();
    const QString& name = reserved.value();
    bool crossDevice = false;
    const Result<FileCopier::Step> moved
        = FileCopier::renameNoReplace(native(absolute), native(trash + QStringLiteral("/files/") + name), &crossDevice);
    if (moved && *moved == FileCopier::Step::Done)
        return Status();
    LocalFiles::remove(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    return failed(moved ? FileCopier::errorText(EEXIST) : moved.errorString());
}

QStringList Trash::trashFolders()
{
    QStringList folders;
    if (LocalFiles::isDir(homeTrash() + QStringLiteral("/info")))
        folders << homeTrash();
    const QString uid = QString::number(::getuid());
    for (const DriveInfo& drive : ListDrives()) {
        if (!drive.mounted || drive.type == DriveType::Network || drive.fsType.startsWith(QLatin1String("fuse")))
            continue;
        const QString base = drive.root == QLatin1String("/") ? QString() : drive.root;
        for (const QString& folder : QStringList{base + QStringLiteral("/.Trash/") + uid, base + QStringLiteral("/.Trash-") + uid}) {
            if (LocalFiles::isDir(folder + QStringLiteral("/info")) && !folders.contains(folder))
                folders << folder;
        }
    }
    return folders;
}

QList<TrashedItem> Trash::items(const QString& trashFolder)
{
    QList<TrashedItem> found;
    const QString info = trashFolder + QStringLiteral("/info/");
    for (const QString& file : infoFiles(info)) {
        TrashedItem item;
        QString key;
        if (!parseInfo(readInfo(info + file), &key, &item.deletionDate))
            continue;
        item.trashFolder = trashFolder;
        item.name = file.chopped(10);
        item.originalPath = key.startsWith(QLatin1Char('/')) ? key : QDir(topOfTrash(trashFolder)).filePath(key);
        found << item;
    }
    return found;
}

bool Trash::isEmpty()
{
    for (const QString& folder : trashFolders()) {
        if (!storedNames(folder).isEmpty())
            return false;
    }
    return true;
}

Status Trash::empty()
{
    Status outcome;
    for (const QString& folder : trashFolders()) {
        if (const Status emptied = emptyFolder(folder); !emptied)
            outcome = emptied;
    }
    return outcome;
}

Status Trash::emptyFolder(const QString& folder)
{
    Status outcome;
    for (const QString& name : storedNames(folder)) {
        if (const Status removed = deleteItem(folder, name); !removed)
            outcome = removed;
    }
    tidy(folder);
    return outcome;
}

QStringList Trash::storedNames(const QString& trashFolder)
{
    return LocalFiles::entryNames(trashFolder + QStringLiteral("/files/"));
}

Status Trash::deleteItem(const QString& trashFolder, const QString& name)
{
    if (const Status removed = FileCopier::removeTree(native(trashFolder + QStringLiteral("/files/") + name), {}); !removed)
        return failed(removed.errorString());
    LocalFiles::remove(trashFolder + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    return Status();
}

void Trash::tidy(const QString& trashFolder)
{
    const QString files = trashFolder + QStringLiteral("/files/");
    const QString info = trashFolder + QStringLiteral("/info/");
    for (const QString& name : infoFiles(info)) {
        if (!LocalFiles::entryExists(files + name.chopped(10)))
            LocalFiles::remove(info + name); // an info file whose item is gone
    }
    LocalFiles::remove(trashFolder + QStringLiteral("/directorysizes"));
}

Status Trash::restore(const TrashedItem& item)
{
    LocalFiles::makePath(QFileInfo(item.originalPath).path());
    bool crossDevice = false;
    const QString stored = item.trashFolder + QStringLiteral("/files/") + item.name;
    const Result<FileCopier::Step> moved = FileCopier::renameNoReplace(native(stored), native(item.originalPath), &crossDevice);
    if (!moved)
        return failed(moved.errorString());
    if (*moved != FileCopier::Step::Done)
        return failed(FileCopier::errorText(EEXIST));
    LocalFiles::remove(item.trashFolder + QStringLiteral("/info/") + item.name + QStringLiteral(".trashinfo"));
    return Status();
}
