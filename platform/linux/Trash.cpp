#include "platform/Trash.h"

#include "platform/Drives.h"
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

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
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
    const QFileInfo item(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    char* real = ::realpath(native(item.path()).constData(), nullptr);
    if (!real)
        return item.filePath();
    const QString folder = QFile::decodeName(real);
    ::free(real);
    return (folder == QLatin1String("/") ? QString() : folder) + QLatin1Char('/') + item.fileName();
}

// Reserves a free name in the trash by creating its info file exclusively.
QString reserveName(const QString& trash, const QString& name, const QByteArray& info, QString* error)
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
            *error = FileCopier::errorText(errno);
            return QString();
        }
        struct stat st {};
        const bool written = ::write(fd, info.constData(), std::size_t(info.size())) == info.size();
        const bool closed = ::close(fd) == 0;
        if (written && closed && !statOf(trash + QStringLiteral("/files/") + candidate, &st, false))
            return candidate;
        ::unlink(infoPath.constData());
        if (!written || !closed) {
            *error = FileCopier::errorText(errno);
            return QString();
        }
    }
    *error = QStringLiteral("No free name in the trash");
    return QString();
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
    *pathKey = QFile::decodeName(QByteArray::fromPercentEncoding(path));
    *deletionDate = QDateTime::fromString(QString::fromLatin1(date), QStringLiteral("yyyy-MM-ddThh:mm:ss"));
    return !pathKey->isEmpty() && !pathKey->contains(QChar(0));
}

bool Trash::moveToTrash(const QString& path, QString* error)
{
    const QString absolute = realLocation(path);
    struct stat item {};
    struct stat homeData {};
    if (!statOf(absolute, &item, false)) {
        *error = FileCopier::errorText(errno);
        return false;
    }
    QString trash = homeTrash();
    QString key = absolute;
    QDir().mkpath(QFileInfo(trash).path());
    if (!statOf(QFileInfo(trash).path(), &homeData) || homeData.st_dev != item.st_dev) {
        const QString top = topFolderOf(absolute, item.st_dev);
        trash = volumeTrash(top);
        key = QDir(top).relativeFilePath(absolute);
    } else if (!prepareTrash(trash)) {
        trash.clear();
    }
    if (trash.isEmpty()) {
        *error = QStringLiteral("The volume has no trash folder that can be used");
        return false;
    }
    const QString name = reserveName(trash, QFileInfo(absolute).fileName(), infoText(key, QDateTime::currentDateTime()), error);
    if (name.isEmpty())
        return false;
    bool crossDevice = false;
    const FileCopier::Status status
        = FileCopier::renameNoReplace(native(absolute), native(trash + QStringLiteral("/files/") + name), &crossDevice, error);
    if (status == FileCopier::Status::Done)
        return true;
    if (status == FileCopier::Status::Exists)
        *error = FileCopier::errorText(EEXIST);
    QFile::remove(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    return false;
}

QStringList Trash::trashFolders()
{
    QStringList folders;
    if (QFileInfo(homeTrash() + QStringLiteral("/info")).isDir())
        folders << homeTrash();
    const QString uid = QString::number(::getuid());
    for (const DriveInfo& drive : ListDrives()) {
        if (!drive.mounted || drive.type == DriveType::Network || drive.fsType.startsWith(QLatin1String("fuse")))
            continue;
        const QString base = drive.root == QLatin1String("/") ? QString() : drive.root;
        for (const QString& folder : QStringList{base + QStringLiteral("/.Trash/") + uid, base + QStringLiteral("/.Trash-") + uid}) {
            if (QFileInfo(folder + QStringLiteral("/info")).isDir() && !folders.contains(folder))
                folders << folder;
        }
    }
    return folders;
}

QList<TrashedItem> Trash::items(const QString& trashFolder)
{
    QList<TrashedItem> found;
    const QDir info(trashFolder + QStringLiteral("/info"));
    for (const QString& file : info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden)) {
        QFile f(info.filePath(file));
        TrashedItem item;
        QString key;
        if (!f.open(QIODevice::ReadOnly) || !parseInfo(f.read(kMaxInfoSize + 1), &key, &item.deletionDate))
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
        if (!QDir(folder + QStringLiteral("/files")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            return false;
    }
    return true;
}

bool Trash::empty(QString* error)
{
    bool ok = true;
    for (const QString& folder : trashFolders()) {
        // Each item's bytes go first and its info last, so that an interrupted emptying
        // never leaves an item that nobody can see.
        const QDir files(folder + QStringLiteral("/files"));
        for (const QString& name : files.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (!FileCopier::removeTree(native(files.filePath(name)), {}, error)) {
                ok = false;
                continue;
            }
            QFile::remove(folder + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        }
        const QDir info(folder + QStringLiteral("/info"));
        for (const QString& name : info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden)) {
            struct stat st {};
            if (!statOf(files.filePath(name.chopped(10)), &st, false))
                QFile::remove(info.filePath(name)); // an info file whose item is gone
        }
        QFile::remove(folder + QStringLiteral("/directorysizes"));
    }
    return ok;
}

bool Trash::restore(const TrashedItem& item, QString* error)
{
    QDir().mkpath(QFileInfo(item.originalPath).path());
    bool crossDevice = false;
    const QString stored = item.trashFolder + QStringLiteral("/files/") + item.name;
    const FileCopier::Status status = FileCopier::renameNoReplace(native(stored), native(item.originalPath), &crossDevice, error);
    if (status == FileCopier::Status::Exists)
        *error = FileCopier::errorText(EEXIST);
    if (status != FileCopier::Status::Done)
        return false;
    QFile::remove(item.trashFolder + QStringLiteral("/info/") + item.name + QStringLiteral(".trashinfo"));
    return true;
}
