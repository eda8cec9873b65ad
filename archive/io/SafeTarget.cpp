#include "io/SafeTarget.h"

#include "platform/TransferFaults.h"

#include <QStringList>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zipio {

namespace {

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

} // namespace

bool SafeTarget::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool SafeTarget::open(const QString& rootFolder)
{
    m_rootPath = rootFolder;
    m_root.reset(::open(rootFolder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return m_root.valid() || fail(QStringLiteral("cannot open the folder %1: %2").arg(rootFolder, errnoText()));
}

bool SafeTarget::splitStoredName(const QString& storedName, QStringList& parts)
{
    QString name = storedName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return fail(QStringLiteral("refused (absolute path)"));
    if (name.size() >= 2 && name[1] == QLatin1Char(':'))
        return fail(QStringLiteral("refused (drive prefix)"));
    if (name.isEmpty())
        return fail(QStringLiteral("refused (empty name)"));
    parts.clear();
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return fail(QStringLiteral("refused (\"..\" in the path)"));
        if (part == QLatin1String("."))
            continue;
        if (part.contains(QChar(0)))
            return fail(QStringLiteral("refused (NUL in the name)"));
        parts << part;
    }
    return true;
}

bool SafeTarget::openFolder(const QStringList& folders, bool create, UniqueFd& fd)
{
    UniqueFd current(::dup(m_root.get()));
    for (const QString& part : folders) {
        const QByteArray name = part.toLocal8Bit();
        int next = ::openat(current.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0 && errno == ENOENT && create) {
            if (::mkdirat(current.get(), name.constData(), 0755) != 0 && errno != EEXIST)
                return fail(QStringLiteral("cannot create the folder %1: %2").arg(part, errnoText()));
            next = ::openat(current.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }
        if (next < 0) {
            return fail(errno == ELOOP || errno == ENOTDIR
                            ? QStringLiteral("%1 is a link or a file, not a folder; refused").arg(part)
                            : QStringLiteral("cannot open the folder %1: %2").arg(part, errnoText()));
        }
        current.reset(next);
    }
    fd = std::move(current);
    return true;
}

bool SafeTarget::makeFolder(const QStringList& parts)
{
    UniqueFd fd;
    return openFolder(parts, true, fd);
}

PendingFile::PendingFile(int folderFd, const QString& finalName) : m_folder(folderFd), m_final(finalName.toLocal8Bit()) {}

PendingFile::~PendingFile()
{
    if (!m_done && !m_temp.isEmpty()) {
        m_fd.reset();
        ::unlinkat(m_folder, m_temp.constData(), 0);
    }
}

bool PendingFile::failWithErrno()
{
    m_error = errnoText();
    return false;
}

bool PendingFile::create(uint32_t mode)
{
    // An unnamed file first: nothing shows in the folder until it is complete, and a crash
    // leaves nothing behind. File systems without O_TMPFILE get a hidden temporary name.
    // Created with its final mode, which saves a chmod per file.
    mode &= 0777;
    const int anonymous = ::openat(m_folder, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, mode);
    if (anonymous >= 0) {
        m_fd.reset(anonymous);
        return true;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint32_t r = 0;
        ::getrandom(&r, sizeof r, 0);
        m_temp = QByteArray(".fvunzip-") + QByteArray::number(r, 16);
        const int fd = ::openat(m_folder, m_temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            m_fd.reset(fd);
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    m_error = QStringLiteral("cannot create a file in the target folder: %1").arg(errnoText());
    m_temp.clear();
    return false;
}

bool PendingFile::linkAnonymous(const QByteArray& name)
{
    // Linking the descriptor itself spares a path walk through /proc for every file. Kernels
    // before 6.10 allow that only with CAP_DAC_READ_SEARCH and answer ENOENT otherwise; then
    // the /proc path serves, from there on.
    static std::atomic<bool> byDescriptor{true};
    if (byDescriptor.load(std::memory_order_relaxed)) {
        if (::linkat(m_fd.get(), "", m_folder, name.constData(), AT_EMPTY_PATH) == 0)
            return true;
        if (errno != ENOENT && errno != EPERM)
            return false;
        byDescriptor.store(false, std::memory_order_relaxed);
    }
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
    return ::linkat(AT_FDCWD, self.constData(), m_folder, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

bool PendingFile::write(const uint8_t* data, size_t n)
{
    while (n > 0) {
        const ssize_t put = ::write(m_fd.get(), data, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            m_errno = put < 0 ? errno : ENOSPC;
            return false;
        }
        data += put;
        n -= size_t(put);
    }
    return true;
}

bool PendingFile::commit(int64_t mtime)
{
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(mtime), 0}};
    ::futimens(m_fd.get(), times);
    if (m_temp.isEmpty()) {
        // The unnamed file gets its name; an existing file of that name is replaced through
        // a temporary link and a rename, so it stays whole until the new one is in place.
        if (!linkAnonymous(m_final)) {
            if (errno != EEXIST)
                return failWithErrno();
            uint32_t r = 0;
            ::getrandom(&r, sizeof r, 0);
            m_temp = QByteArray(".fvunzip-") + QByteArray::number(r, 16);
            if (!linkAnonymous(m_temp)) {
                failWithErrno();
                m_temp.clear();
                return false;
            }
        } else {
            m_fd.reset();
            m_done = true;
            return true;
        }
    }
    return renameIntoPlace();
}

bool PendingFile::renameIntoPlace()
{
    // A file that replaces another has its bytes flushed before the rename: after a crash the
    // rename may have reached the disk while the data had not, losing both contents.
    struct stat there {};
    const bool replacing = ::fstatat(m_folder, m_final.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0;
    if (replacing) {
        if (::fdatasync(m_fd.get()) != 0)
            return failWithErrno();
        TransferFaults::noteReplaceStep("sync");
    }
    if (::close(m_fd.release()) != 0)
        return failWithErrno();
    if (replacing)
        TransferFaults::noteReplaceStep("rename");
    if (::renameat(m_folder, m_temp.constData(), m_folder, m_final.constData()) != 0)
        return failWithErrno();
    m_done = true;
    return true;
}

} // namespace zipio
