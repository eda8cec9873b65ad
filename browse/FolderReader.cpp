#include "browse/FolderReader.h"

#include "browse/DosAttrib.h"
#include "browse/FolderReadFaults.h"
#include "platform/DirStream.h"
#include "platform/FileName.h"
#include "platform/PathText.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

bool statEntry(int folderFd, const char* name, struct statx* st)
{
    const unsigned mask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME;
    if (::statx(folderFd, name, AT_NO_AUTOMOUNT, mask, st) == 0)
        return true;
    // A broken or looping link: describe the link itself.
    return ::statx(folderFd, name, AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, mask, st) == 0;
}

uint32_t attributesOf(const struct statx& st, bool dotName, bool listedHidden)
{
    const mode_t mode = st.stx_mode;
    uint32_t attributes = 0;
    if (S_ISDIR(mode))
        attributes |= FileAttribute::Directory;
    else if (S_ISREG(mode))
        attributes |= FileAttribute::Archive;
    else if (!S_ISLNK(mode))
        attributes |= FileAttribute::System;
    if (!(mode & S_IWUSR))
        attributes |= FileAttribute::ReadOnly;
    if (dotName || listedHidden)
        attributes |= FileAttribute::Hidden;
    return attributes;
}

// Applies what a Windows client stored through Samba: its archive bit replaces ours, its
// hidden and system bits are added. Off on file systems that cannot hold the attribute
// (DosAttrib::mayBeStoredOn, asked once per folder), and from the first entry that shows
// the file system has no extended attributes after all.
// Each lookup goes relative to the open folder (getxattrat, Linux 6.13) where the kernel
// has it, saving a walk of the whole path per entry; older kernels get the full path.
class DosAttribReader {
public:
    DosAttribReader(const QString& folder, int folderFd, bool enabled)
        : m_path(FileName::encode(folder).toStdString())
        , m_folderFd(folderFd)
        , m_enabled(enabled)
    {
        if (m_path.empty() || m_path.back() != '/')
            m_path += '/';
        m_folderLength = m_path.size();
    }

    void apply(const char* name, uint32_t& attributes)
    {
        if (!m_enabled)
            return;
        uint8_t value[64];
        const ssize_t n = read(name, value, sizeof value);
        if (n < 0) {
            if (errno == ENOTSUP)
                m_enabled = false;
            return;
        }
        const std::optional<uint32_t> stored = DosAttrib::parse(value, size_t(n));
        if (!stored)
            return;
        attributes &= ~FileAttribute::Archive;
        attributes |= *stored & (FileAttribute::Archive | FileAttribute::Hidden | FileAttribute::System);
    }

private:
    // The same number on every architecture: it came after the tables were unified.
    static constexpr long kGetxattrat = 464;
    struct XattrArgs {
        uint64_t value;
        uint32_t size;
        uint32_t flags;
    };

    ssize_t read(const char* name, uint8_t* value, size_t size)
    {
        if (m_relative) {
            XattrArgs args{reinterpret_cast<uintptr_t>(value), uint32_t(size), 0};
            const long n = ::syscall(kGetxattrat, m_folderFd, name, 0, DosAttrib::xattrName, &args, sizeof args);
            if (n >= 0 || errno != ENOSYS)
                return ssize_t(n);
            m_relative = false;
        }
        m_path.resize(m_folderLength);
        m_path += name;
        return ::getxattr(m_path.c_str(), DosAttrib::xattrName, value, size);
    }

    std::string m_path;
    size_t m_folderLength = 0;
    int m_folderFd;
    bool m_enabled;
    bool m_relative = true;
};

// One-pass reading goes in batches: 64 names the first time (a caller that stops at the
// first match reads little), then 4096.
constexpr size_t firstBatch = 64;
constexpr size_t laterBatch = 4096;

} // namespace

struct FolderReader::Open {
    explicit Open(const QByteArray& path)
        : dir(path)
    {
    }
    DirStream dir;
    HiddenList hidden;
    bool dosAttribs = true; // whether entries may carry user.DOSATTRIB
};

FolderReader::FolderReader(QString folder, Scope scope)
    : m_folder(std::move(folder))
    , m_scope(scope)
{
}

FolderReader::~FolderReader() = default;

bool FolderReader::open()
{
    m_error.clear();
    m_open.reset();
    auto open = std::make_unique<Open>(FileName::encode(m_folder));
    if (!open->dir.isOpen()) {
        m_error = open->dir.status().errorString();
        return false;
    }
    open->hidden = HiddenList::read(open->dir.fd());
    struct statfs fileSystem;
    if (::fstatfs(open->dir.fd(), &fileSystem) == 0)
        open->dosAttribs = DosAttrib::mayBeStoredOn(int64_t(fileSystem.f_type));
    m_open = std::move(open);
    return true;
}

bool FolderReader::readNames(FolderNames& names, const std::function<bool()>& added)
{
    if (!m_open)
        return false;
    const std::chrono::microseconds delay = FolderReadFaults::entryDelay();
    for (;;) {
        const dirent* d = m_open->dir.next();
        if (!d)
            return false;
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        if (m_scope == Scope::FoldersOnly && d->d_type != DT_DIR && d->d_type != DT_LNK && d->d_type != DT_UNKNOWN)
            continue;
        names.append(name, std::strlen(name), d->d_type);
        if (delay.count() > 0)
            std::this_thread::sleep_for(delay);
        if (!added())
            return true;
    }
}

uint32_t FolderReader::nameAttributes(const FolderNames& names, size_t i) const
{
    uint32_t attributes = 0;
    switch (names.type(i)) {
    case DT_DIR: attributes = FileAttribute::Directory; break;
    case DT_REG: attributes = FileAttribute::Archive; break;
    case DT_LNK:
    case DT_UNKNOWN: break;
    default: attributes = FileAttribute::System; break;
    }
    const char* name = names.name(i);
    if (name[0] == '.' || (m_open && m_open->hidden.contains(name, names.nameLength(i))))
        attributes |= FileAttribute::Hidden;
    return attributes ? attributes : FileAttribute::Normal;
}

void FolderReader::examine(const FolderNames& names, const uint32_t* indexes, size_t count, FolderEntry* entries) const
{
    if (!m_open)
        return;
    // The kernel's path lookups dominate the cost of listing a big folder: spread them.
    auto examineRange = [&](size_t begin, size_t end) {
        DosAttribReader dosAttrib(m_folder, m_open->dir.fd(), m_open->dosAttribs);
        for (size_t k = begin; k < end; ++k) {
            const size_t i = indexes[k];
            const char* name = names.name(i);
            FolderEntry& entry = entries[k];
            entry = FolderEntry();
            struct statx st;
            if (!statEntry(m_open->dir.fd(), name, &st))
                continue; // removed while we read
            entry.name = name;
            entry.nameLength = names.nameLength(i);
            entry.isDirectory = S_ISDIR(st.stx_mode);
            entry.attributes = attributesOf(st, name[0] == '.', m_open->hidden.contains(name, entry.nameLength));
            dosAttrib.apply(name, entry.attributes);
            if (!(entry.attributes & ~FileAttribute::Normal))
                entry.attributes = FileAttribute::Normal;
            entry.size = S_ISREG(st.stx_mode) ? int64_t(st.stx_size) : 0;
            entry.hasTime = st.stx_mask & STATX_MTIME;
            entry.mtimeSeconds = st.stx_mtime.tv_sec;
            entry.mtimeNanoseconds = st.stx_mtime.tv_nsec;
        }
    };
    const size_t threads = count < 512 ? 1 : std::min<size_t>(4, std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> workers;
    size_t t = 1;
    try {
        for (; t < threads; ++t)
            workers.emplace_back([&, t] { examineRange(count * t / threads, count * (t + 1) / threads); });
    } catch (const std::system_error&) {
        // No thread to be had: this thread does the rest.
    }
    examineRange(0, count / threads);
    for (size_t rest = t; rest < threads; ++rest)
        examineRange(count * rest / threads, count * (rest + 1) / threads);
    for (std::thread& worker : workers)
        worker.join();
}

bool FolderReader::read(const std::function<bool(const FolderEntry&)>& visit)
{
    if (!open())
        return false;
    FolderNames names;
    std::vector<uint32_t> indexes;
    std::vector<FolderEntry> entries;
    bool more = true;
    for (size_t limit = firstBatch; more; limit = laterBatch) {
        names.clear();
        more = readNames(names, [&] { return names.size() < limit; });
        indexes.resize(names.size());
        for (size_t i = 0; i < indexes.size(); ++i)
            indexes[i] = uint32_t(i);
        entries.resize(names.size());
        examine(names, indexes.data(), indexes.size(), entries.data());
        for (const FolderEntry& entry : entries) {
            if (!entry.name || (m_scope == Scope::FoldersOnly && !entry.isDirectory))
                continue;
            if (!visit(entry))
                return true;
        }
    }
    return true;
}

std::optional<uint32_t> FolderReader::entryAttributes(const QString& folder, const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/')))
        return std::nullopt;
    FolderReader reader(folder);
    if (!reader.open())
        return std::nullopt;
    const QByteArray bytes = FileName::encode(name);
    FolderNames names;
    names.append(bytes.constData(), size_t(bytes.size()), DT_UNKNOWN);
    const uint32_t index = 0;
    FolderEntry entry;
    reader.examine(names, &index, 1, &entry);
    if (!entry.name)
        return std::nullopt;
    return entry.attributes;
}

std::optional<uint32_t> FolderReader::entryAttributes(const QString& path)
{
    return entryAttributes(PathText::folderOf(path), PathText::nameOf(path));
}
