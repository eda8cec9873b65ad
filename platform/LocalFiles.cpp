#include "platform/LocalFiles.h"

#include "platform/FileName.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool statOf(const QString& path, struct stat* st, bool follow)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = FileName::encode(path);
    return (follow ? ::stat(native.constData(), st) : ::lstat(native.constData(), st)) == 0;
}

} // namespace

QString LocalFiles::absolutePath(const QString& path)
{
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    QString folder;
    if (char* cwd = ::getcwd(nullptr, 0)) {
        folder = FileName::decode(cwd, qsizetype(std::strlen(cwd)));
        ::free(cwd);
    }
    return QDir::cleanPath(folder + QLatin1Char('/') + path);
}

bool LocalFiles::exists(const QString& path)
{
    struct stat st {};
    return statOf(path, &st, true);
}

bool LocalFiles::entryExists(const QString& path)
{
    struct stat st {};
    return statOf(path, &st, false);
}

bool LocalFiles::isDir(const QString& path)
{
    struct stat st {};
    return statOf(path, &st, true) && S_ISDIR(st.st_mode);
}

bool LocalFiles::isFile(const QString& path)
{
    struct stat st {};
    return statOf(path, &st, true) && S_ISREG(st.st_mode);
}

bool LocalFiles::isSymLink(const QString& path)
{
    struct stat st {};
    return statOf(path, &st, false) && S_ISLNK(st.st_mode);
}

QStringList LocalFiles::entryNames(const QString& folder)
{
    DIR* dir = ::opendir(FileName::encode(folder).constData());
    if (!dir)
        return {};
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    QStringList decoded;
    decoded.reserve(qsizetype(names.size()));
    for (const QByteArray& name : names)
        decoded << FileName::decode(name);
    return decoded;
}

bool LocalFiles::makeFolder(const QString& path)
{
    return !path.isEmpty() && ::mkdir(FileName::encode(path).constData(), 0777) == 0;
}

bool LocalFiles::makePath(const QString& path)
{
    if (isDir(path))
        return true;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && !makePath(path.left(slash)))
        return false;
    return makeFolder(path) || (errno == EEXIST && isDir(path));
}

bool LocalFiles::remove(const QString& path)
{
    return !path.isEmpty() && ::unlink(FileName::encode(path).constData()) == 0;
}
