#include "ZipExtractor.h"

#include "ZipReader.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr int kPasswordAttempts = 3;
constexpr uint64_t kMaxLinkTarget = 4096;
// Answers that rename an entry onto yet another existing file before it is skipped.
constexpr int kOverwriteRounds = 8;
// Below this size a full disk is simply reported by the failing write.
constexpr uint64_t kCheckSpaceFrom = 1 << 20;

// Whether a link stored at parts (its own name last) with this target stays in the folder.
bool linkStaysInside(const QStringList& parts, const QString& target)
{
    if (target.isEmpty() || target.startsWith(QLatin1Char('/')))
        return false;
    qsizetype depth = parts.size() - 1;
    for (const QString& part : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            --depth;
        else if (part != QLatin1String("."))
            ++depth;
        if (depth < 0)
            return false;
    }
    return true;
}

// The process's file mode mask. Read from /proc: umask() can only be read by changing it,
// which would briefly change it for every other thread too.
mode_t processUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok)
                return mode_t(mask & 0777);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

bool ZipExtractor::open(const QString& folder)
{
    m_umask = processUmask();
    m_zone = QTimeZone::systemTimeZone();
    // Without a zone database the offset in force now is the best guess left.
    if (!m_zone.isValid())
        m_zone = QTimeZone(QDateTime::currentDateTime().offsetFromUtc());
    if (!m_target.open(folder)) {
        m_error = QStringLiteral("zip: ") + m_target.errorString();
        return false;
    }
    return true;
}

bool ZipExtractor::problem(const ZipEntry& entry, const QString& why)
{
    m_problems << QStringLiteral("zip: entry '%1': %2").arg(entry.FileName, why);
    return false;
}

bool ZipExtractor::readerProblem()
{
    m_problems << m_reader.errorString();
    return false;
}

bool ZipExtractor::extract(const ZipEntry& entry)
{
    QStringList parts;
    if (!m_target.splitStoredName(entry.FileName, parts))
        return problem(entry, m_target.errorString());
    // "./" (as bsdtar stores the folder it was run in) is the target folder itself, which
    // exists already; "./" before a name adds nothing to it. A file cannot be that folder.
    if (parts.isEmpty())
        return entry.isDirectory() || problem(entry, QStringLiteral("refused (no file name)"));
    const bool restorePath = m_options.testFlag(ZipExtractOption::RestorePath);
    const bool createDirs = m_options.testFlag(ZipExtractOption::CreateDirs);
    if (entry.isDirectory()) {
        if (!restorePath || !createDirs)
            return true;
        return m_target.makeFolder(parts) || problem(entry, m_target.errorString());
    }
    const QString name = parts.takeLast();
    const QStringList folders = restorePath ? parts : QStringList();
    // Entries of one folder usually follow each other: its descriptor is kept. It stays
    // safe, since nothing extracted later can turn an opened folder into a link.
    if (!m_folder.valid() || folders != m_folderParts) {
        m_folder.reset();
        if (!m_target.openFolder(folders, createDirs, m_folder))
            return problem(entry, m_target.errorString());
        m_folderParts = folders;
    }
    if (entry.isSymlink())
        return extractLink(entry, m_folder.get(), name, folders + QStringList{name});
    return extractFile(entry, m_folder.get(), name);
}

bool ZipExtractor::retryWithPassword(int attempt)
{
    const QString before = m_password;
    if (attempt < kPasswordAttempts && m_callbacks.needPassword)
        m_callbacks.needPassword(m_password);
    // Without a new password, the reader's "wrong" or "needed" is the entry's problem.
    if (m_password.isEmpty() || m_password == before)
        return readerProblem();
    return true;
}

bool ZipExtractor::readEntry(const ZipEntry& entry, const ByteSink& sink, int& sinkErrno, bool& retry, int attempt)
{
    const auto progress = [&](int percent) { return !m_callbacks.itemProgress || m_callbacks.itemProgress(entry, percent); };
    retry = false;
    const auto status = m_reader.read(entry, m_password.toStdString(), sink, progress);
    switch (status) {
    case ZipReader::Status::Ok:
        return true;
    case ZipReader::Status::NeedPassword:
    case ZipReader::Status::WrongPassword:
        retry = retryWithPassword(attempt);
        return false;
    case ZipReader::Status::SinkFailed:
        return problem(entry, QString::fromLocal8Bit(std::strerror(sinkErrno ? sinkErrno : EIO)));
    case ZipReader::Status::Aborted:
        m_aborted = true;
        return readerProblem();
    case ZipReader::Status::CrcMismatch:
    case ZipReader::Status::Damaged:
    case ZipReader::Status::Unsupported:
        break;
    }
    return readerProblem();
}

ZipExtractor::Claim ZipExtractor::claimName(const ZipEntry& entry, int folderFd, QString& name)
{
    // A new name from the user may itself name an existing file: that one is asked about in
    // turn, and after a few rounds of such answers the entry is skipped.
    for (int round = 0;; ++round) {
        struct stat st {};
        if (::fstatat(folderFd, name.toLocal8Bit().constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return Claim::Write;
        if (S_ISDIR(st.st_mode)) {
            problem(entry, QStringLiteral("a folder of that name exists"));
            return Claim::Refused;
        }
        // With nobody to ask, an existing file is never replaced.
        if (!m_callbacks.confirmOverwrite || round == kOverwriteRounds) {
            m_skipped << targetPath(name);
            return Claim::Keep;
        }
        bool confirm = true;
        QString asked = name;
        m_callbacks.confirmOverwrite(asked, confirm);
        if (!confirm)
            return Claim::Keep;
        if (asked == name || asked.isEmpty() || asked.contains(QLatin1Char('/')))
            return Claim::Write;
        name = asked;
    }
}

QString ZipExtractor::targetPath(const QString& name) const
{
    QStringList parts{m_target.rootPath()};
    parts << m_folderParts << name;
    return parts.join(QLatin1Char('/'));
}

bool ZipExtractor::extractFile(const ZipEntry& entry, int folderFd, QString name)
{
    const Claim claim = claimName(entry, folderFd, name);
    if (claim != Claim::Write)
        return claim == Claim::Keep;
    struct statvfs fs {};
    if (entry.size() >= kCheckSpaceFrom && ::fstatvfs(folderFd, &fs) == 0 && uint64_t(fs.f_bavail) * fs.f_frsize < entry.size())
        return problem(entry, QStringLiteral("not enough free space (%1 bytes needed)").arg(entry.size()));

    // Each attempt (a new password after a wrong one) starts a fresh temporary file; a
    // failed one removes its own.
    for (int attempt = 0;; ++attempt) {
        zipio::PendingFile file(folderFd, name);
        if (!file.create(fileMode(entry)))
            return problem(entry, file.errorString());
        int sinkErrno = 0;
        const auto sink = [&](const uint8_t* d, size_t n) {
            const bool ok = file.write(d, n);
            sinkErrno = file.error();
            return ok;
        };
        bool retry = false;
        if (readEntry(entry, sink, sinkErrno, retry, attempt))
            return file.commit(entry.modifiedSeconds(m_zone)) || problem(entry, file.errorString());
        if (!retry)
            return false;
    }
}

uint32_t ZipExtractor::fileMode(const ZipEntry& entry) const
{
    // Archives from other systems carry no permissions; a file nobody may read helps no one.
    // Stored permissions go through the umask as a new file's would, so an archive cannot
    // make a world-writable file, and setuid, setgid and sticky bits are never restored.
    const uint32_t stored = (entry.unixMode() & 0777) ? entry.unixMode() : 0644;
    return stored & 0777 & ~uint32_t(m_umask);
}

bool ZipExtractor::extractLink(const ZipEntry& entry, int folderFd, QString name, const QStringList& parts)
{
    if (entry.size() > kMaxLinkTarget)
        return problem(entry, QStringLiteral("link target too long"));
    // A stored link replaces an existing file only when the user agrees, as a file does.
    const Claim claim = claimName(entry, folderFd, name);
    if (claim != Claim::Write)
        return claim == Claim::Keep;
    std::string target;
    int sinkErrno = 0;
    const ByteSink sink = [&](const uint8_t* d, size_t n) {
        target.append(reinterpret_cast<const char*>(d), n);
        return true;
    };
    for (int attempt = 0;; ++attempt) {
        bool retry = false;
        target.clear();
        if (readEntry(entry, sink, sinkErrno, retry, attempt))
            break;
        if (!retry)
            return false;
    }
    const QString targetText = QString::fromLocal8Bit(target.data(), qsizetype(target.size()));
    if (!linkStaysInside(parts, targetText))
        return problem(entry, QStringLiteral("refused (link points outside the folder: %1)").arg(targetText));
    const QByteArray temp = ".fvlink-" + QByteArray::number(qint64(::getpid())) + '-' + name.toLocal8Bit();
    if (::symlinkat(target.c_str(), folderFd, temp.constData()) != 0
        || ::renameat(folderFd, temp.constData(), folderFd, name.toLocal8Bit().constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        ::unlinkat(folderFd, temp.constData(), 0);
        return problem(entry, why);
    }
    return true;
}
