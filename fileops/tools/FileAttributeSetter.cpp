#include "fileops/tools/FileAttributeSetter.h"

#include "browse/DosAttrib.h"
#include "browse/FileAttributes.h"
#include "fileops/tools/HiddenFile.h"
#include "platform/PathText.h"
#include "platform/linux/FileCopier.h"

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

constexpr uint32_t kDosBits = FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System | FileAttribute::Archive;

bool fail(QString* error, const QString& what, int code)
{
    *error = what + QStringLiteral(": ") + FileCopier::errorText(code);
    return false;
}

bool setReadOnly(const QByteArray& path, const struct stat& st, bool readOnly, QString* error)
{
    const mode_t mode = readOnly ? (st.st_mode & ~S_IWUSR) : (st.st_mode | S_IWUSR);
    if (S_ISLNK(st.st_mode))
        return !readOnly || fail(error, QStringLiteral("Read Only"), EOPNOTSUPP); // a link has no write bit of its own
    if ((mode & 07777) == (st.st_mode & 07777))
        return true;
    return ::fchmodat(AT_FDCWD, path.constData(), mode & 07777, AT_SYMLINK_NOFOLLOW) == 0
        || fail(error, QStringLiteral("Read Only"), errno);
}

// The stored value is rewritten with the wanted bits; without one, a value is written only
// when the file must read as not archived (a regular file reads as archived by default).
bool setDosAttributes(const QByteArray& path, const AttributeRequest& request, QString* error)
{
    char value[256];
    const ssize_t n = ::lgetxattr(path.constData(), DosAttrib::xattrName, value, sizeof value);
    if (n < 0 && errno != ENODATA && errno != ENOTSUP && errno != ERANGE)
        return fail(error, QStringLiteral("Archive"), errno);
    const std::optional<uint32_t> stored = n >= 0 ? DosAttrib::parse(reinterpret_cast<const uint8_t*>(value), size_t(n))
                                                  : std::nullopt;
    const uint32_t wanted = (request.readOnly ? FileAttribute::ReadOnly : 0) | (request.hidden ? FileAttribute::Hidden : 0)
        | (request.archive ? FileAttribute::Archive : 0);
    if (stored ? (*stored & kDosBits) == wanted : request.archive)
        return true;
    const QByteArray text = "0x" + QByteArray::number((stored ? *stored & ~kDosBits : 0) | wanted, 16);
    return ::lsetxattr(path.constData(), DosAttrib::xattrName, text.constData(), size_t(text.size()), 0) == 0
        || fail(error, QStringLiteral("Archive"), errno);
}

bool setHidden(const QByteArray& path, bool hidden, QString* error)
{
    const QByteArray name = PathText::nameOf(path);
    if (name.startsWith('.'))
        return hidden || fail(error, QStringLiteral("Hidden"), EPERM); // hidden by its name
    return HiddenFile::setListed(PathText::folderOf(path), name, hidden, error);
}

} // namespace

qint64 FileAttributeSetter::utcSeconds(const QDateTime& wallClock, const QTimeZone& zone)
{
    const qint64 asUtc = QDateTime(wallClock.date(), wallClock.time(), Qt::UTC).toSecsSinceEpoch();
    const auto offsetAt = [&](qint64 secs) { return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(secs, Qt::UTC)); };
    // The offsets a day either side bracket any change near this time.
    const int before = offsetAt(asUtc - 86400);
    const int after = offsetAt(asUtc + 86400);
    const qint64 first = asUtc - before;
    const qint64 second = asUtc - after;
    const bool firstFits = offsetAt(first) == before;
    const bool secondFits = offsetAt(second) == after;
    qint64 secs = first; // also the gap's reading
    if (firstFits && secondFits)
        secs = std::min(first, second);
    else if (secondFits)
        secs = second;
    return secs - (((secs % 2) + 2) % 2);
}

bool FileAttributeSetter::setModified(const QByteArray& path, qint64 utcSeconds, QString* error)
{
    struct timespec times[2] {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(utcSeconds);
    return ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0 || fail(error, QStringLiteral("Date/Time"), errno);
}

bool FileAttributeSetter::apply(const QByteArray& path, const AttributeRequest& request, QString* error)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return fail(error, QStringLiteral("Attributes"), errno);
    if (request.system)
        return fail(error, QStringLiteral("System"), EOPNOTSUPP);
    // The extended attribute needs write access to the file: it is written while the file
    // is writable, so a file made read-only gets its write bit taken last.
    if (!request.readOnly && !setReadOnly(path, st, false, error))
        return false;
    if (!setDosAttributes(path, request, error) || !setHidden(path, request.hidden, error))
        return false;
    return !request.readOnly || setReadOnly(path, st, true, error);
}
