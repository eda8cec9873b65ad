#include "FileCollector.h"

#include "TAbZipKit.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

constexpr uint16_t kMadeByUnix = (3 << 8) | 30;

} // namespace

void FileCollector::skipFile(const QString& path)
{
    struct stat st {};
    m_hasSkip = !path.isEmpty() && ::stat(path.toLocal8Bit().constData(), &st) == 0;
    m_skipDevice = st.st_dev;
    m_skipInode = st.st_ino;
}

QString FileCollector::storedName(const QString& absolutePath, bool isFolder) const
{
    QString name = absolutePath;
    const QString base = m_base.isEmpty() ? QString() : QDir(m_base).absolutePath();
    if (!base.isEmpty() && (name.startsWith(base + QLatin1Char('/')) || base == QLatin1String("/")))
        name = QDir(base).relativeFilePath(name);
    // The root is this platform's drive: an absolute name is always stored without it, so
    // that no archive we write extracts to an absolute path.
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    if (m_options.testFlag(ZipStoreOption::StripPath))
        name = QFileInfo(name).fileName();
    if (m_options.testFlag(ZipStoreOption::RemoveDots)) {
        QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        parts.removeAll(QStringLiteral("."));
        parts.removeAll(QStringLiteral(".."));
        name = parts.join(QLatin1Char('/'));
    }
    if (m_dosMode)
        name = zipfmt::toDosName(name);
    if (isFolder && !name.isEmpty())
        name += QLatin1Char('/');
    return name;
}

bool FileCollector::makeEntry(const QString& path, ZipEntry& entry) const
{
    struct stat st {};
    if (::stat(path.toLocal8Bit().constData(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
        return false;
    if (S_ISREG(st.st_mode) && m_hasSkip && st.st_dev == m_skipDevice && st.st_ino == m_skipInode)
        return false;
    const bool folder = S_ISDIR(st.st_mode);
    entry.FileName = storedName(path, folder);
    if (entry.FileName.isEmpty())
        return false;
    entry.sourcePath = path;
    entry.action = ZipEntry::Action::Add;
    auto& h = entry.header;
    bool utf8 = false;
    h.name = zipfmt::encodeName(entry.FileName, utf8);
    h.flags = utf8 ? zipfmt::kFlagUtf8 : 0;
    h.versionMadeBy = kMadeByUnix;
    h.versionNeeded = folder ? 10 : 20;
    h.uncompressedSize = folder ? 0 : uint64_t(st.st_size);
    h.externalAttributes = (uint32_t(st.st_mode) << 16) | (folder ? 0x10u : 0u);
    zipfmt::toDosTime(QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec), h.time, h.date);
    h.extra = zipfmt::extendedTimestampField(st.st_mtim.tv_sec);
    return true;
}

void FileCollector::addFolderTree(const QString& folder, const QString& pattern, std::vector<ZipEntry>& found) const
{
    const bool recurse = m_options.testFlag(ZipStoreOption::Recurse);
    const bool everything = pattern == QLatin1String("*") || pattern == QLatin1String("*.*");
    ZipEntry entry;
    if (everything && recurse && makeEntry(folder, entry))
        found.push_back(entry);
    QDir dir(folder);
    const auto files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& f : files) {
        if (matchesMask(f.fileName(), pattern) && makeEntry(f.absoluteFilePath(), entry))
            found.push_back(entry);
    }
    if (!recurse)
        return;
    // Links to folders are not followed: a link loop would never end.
    const auto folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& d : folders)
        addFolderTree(d.absoluteFilePath(), pattern, found);
}

bool FileCollector::collect(const QString& mask, std::vector<ZipEntry>& found)
{
    const QString path = QDir::isAbsolutePath(mask) || m_base.isEmpty() ? mask : m_base + QLatin1Char('/') + mask;
    const QFileInfo info(path);
    if (info.isDir()) {
        addFolderTree(info.absoluteFilePath(), QStringLiteral("*"), found);
        return true;
    }
    if (info.isFile()) {
        ZipEntry entry;
        if (makeEntry(info.absoluteFilePath(), entry))
            found.push_back(entry);
        return true;
    }
    if (!info.dir().exists()) {
        m_error = QStringLiteral("zip: cannot find %1").arg(mask);
        return false;
    }
    addFolderTree(info.absolutePath(), info.fileName(), found);
    return true;
}
