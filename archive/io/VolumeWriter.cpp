#include "io/VolumeWriter.h"

#include "format/ByteOrder.h"
#include "format/ZipRecords.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zipio {

namespace {
constexpr size_t kPendingLimit = 1u << 20;
}

VolumeWriter::VolumeWriter(const QString& targetPath, uint64_t volumeLimit) : m_target(targetPath), m_limit(volumeLimit) {}

VolumeWriter::~VolumeWriter() { abort(); }

bool VolumeWriter::fail(const QString& what)
{
    m_error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool VolumeWriter::openVolume()
{
    if (!flushPending())
        return false;
    const QFileInfo info(m_target);
    QByteArray pattern = (info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX")).toLocal8Bit();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return fail(QStringLiteral("cannot create a temporary file in %1").arg(info.path()));
    // mkstemp makes the file private; an archive gets the usual permissions.
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    ::fchmod(fd, 0666 & ~mask);
    m_volumes.push_back({QString::fromLocal8Bit(pattern), UniqueFd(fd)});
    m_used = 0;
    return true;
}

bool VolumeWriter::start()
{
    if (!openVolume())
        return false;
    if (m_limit == 0)
        return true;
    uint8_t marker[4];
    zipfmt::writeLE32(marker, zipfmt::kSplitMarker);
    return rawWrite(marker, 4);
}

bool VolumeWriter::rawWrite(const void* data, size_t n)
{
    const auto* p = static_cast<const char*>(data);
    m_used += n;
    m_total += n;
    if (m_pending.size() + n <= kPendingLimit) {
        m_pending.insert(m_pending.end(), p, p + n);
        return m_pending.size() < kPendingLimit || flushPending();
    }
    return flushPending() && writeOut(p, n);
}

bool VolumeWriter::flushPending()
{
    if (m_pending.empty())
        return true;
    const bool ok = writeOut(m_pending.data(), m_pending.size());
    m_pending.clear();
    return ok;
}

bool VolumeWriter::writeOut(const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t put = ::write(m_volumes.back().fd.get(), p, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return fail(QStringLiteral("cannot write %1").arg(m_target));
        p += put;
        n -= size_t(put);
    }
    return true;
}

bool VolumeWriter::write(const void* data, size_t n)
{
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
        if (m_limit > 0 && m_used >= m_limit && !openVolume())
            return false;
        const size_t room = m_limit > 0 ? size_t(std::min<uint64_t>(n, m_limit - m_used)) : n;
        if (!rawWrite(p, room))
            return false;
        p += room;
        n -= room;
    }
    return true;
}

bool VolumeWriter::ensureRoom(uint64_t n)
{
    if (m_limit > 0 && m_used > 0 && n > m_limit - std::min(m_used, m_limit))
        return openVolume();
    return true;
}

bool VolumeWriter::writeWhole(const std::string& record)
{
    return ensureRoom(record.size()) && rawWrite(record.data(), record.size());
}

bool VolumeWriter::patch(Position at, const std::string& bytes)
{
    if (at.disk >= m_volumes.size() || !flushPending())
        return false;
    if (::pwrite(m_volumes[at.disk].fd.get(), bytes.data(), bytes.size(), off_t(at.offset)) != ssize_t(bytes.size()))
        return fail(QStringLiteral("cannot write %1").arg(m_target));
    return true;
}

bool VolumeWriter::truncate(Position at)
{
    if (!flushPending())
        return false;
    while (m_volumes.size() > at.disk + 1) {
        m_total -= m_used;
        QFile::remove(m_volumes.back().tempPath);
        m_volumes.pop_back();
        struct stat st {};
        ::fstat(m_volumes.back().fd.get(), &st);
        m_used = uint64_t(st.st_size);
    }
    if (::ftruncate(m_volumes.back().fd.get(), off_t(at.offset)) != 0
        || ::lseek(m_volumes.back().fd.get(), off_t(at.offset), SEEK_SET) < 0)
        return fail(QStringLiteral("cannot write %1").arg(m_target));
    m_total -= m_used - at.offset;
    m_used = at.offset;
    return true;
}

QString VolumeWriter::finalPath(size_t index, size_t count) const
{
    if (index + 1 == count)
        return m_target;
    const QFileInfo info(m_target);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".z")
        + QString::number(index + 1).rightJustified(2, QLatin1Char('0'));
}

bool VolumeWriter::isFirstVolume(const QString& path)
{
    QFile file(path);
    uint8_t marker[4];
    return file.open(QIODevice::ReadOnly) && file.read(reinterpret_cast<char*>(marker), 4) == 4
        && zipfmt::readLE32(marker) == zipfmt::kSplitMarker;
}

bool VolumeWriter::commit()
{
    if (!flushPending())
        return false;
    if (m_limit > 0 && m_volumes.size() == 1) {
        // A split archive that fit in one volume carries the "PK00" marker instead.
        uint8_t marker[4];
        zipfmt::writeLE32(marker, 0x30304b50);
        if (!patch({0, 0}, std::string(reinterpret_cast<char*>(marker), 4)))
            return false;
    }
    for (auto& v : m_volumes) {
        if (::fsync(v.fd.get()) != 0)
            return fail(QStringLiteral("cannot write %1").arg(m_target));
        v.fd.reset();
    }
    const size_t count = m_volumes.size();
    for (size_t i = 0; i < count; ++i) {
        const QByteArray from = m_volumes[i].tempPath.toLocal8Bit();
        const QByteArray to = finalPath(i, count).toLocal8Bit();
        if (::rename(from.constData(), to.constData()) != 0)
            return fail(QStringLiteral("cannot rename the new archive to %1").arg(finalPath(i, count)));
        m_volumes[i].tempPath.clear();
    }
    // Volumes of an older, longer split archive of the same name no longer belong to it.
    // A single file replaces a split set only when name.z01 really is a first volume.
    if (count == 1 && !isFirstVolume(finalPath(0, size_t(-1))))
        return m_committed = true;
    for (size_t i = count - 1;; ++i) {
        const QString stale = finalPath(i, size_t(-1));
        if (!QFileInfo(stale).isFile() || !QFile::remove(stale))
            break;
    }
    m_committed = true;
    return true;
}

void VolumeWriter::abort()
{
    if (m_committed)
        return;
    for (auto& v : m_volumes) {
        v.fd.reset();
        if (!v.tempPath.isEmpty())
            QFile::remove(v.tempPath);
    }
    m_volumes.clear();
}

} // namespace zipio
