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
#include <numeric>
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

// The details of names[i] into entry; a null name when it is gone.
void examineEntry(int folderFd, const HiddenList& hidden, const FolderNames& names, size_t i, DosAttribReader& dosAttrib,
                  FolderEntry& entry)
{
    const char* name = names.name(i);
    entry = FolderEntry();
    struct statx st;
    if (!statEntry(folderFd, name, &st))
        return; // removed while we read
    entry.name = name;
    entry.nameLength = names.nameLength(i);
    entry.isDirectory = S_ISDIR(st.stx_mode);
    entry.attributes = attributesOf(st, name[0] == '.', hidden.contains(name, entry.nameLength));
    dosAttrib.apply(name, entry.attributes);
    if (!(entry.attributes & ~FileAttribute::Normal))
        entry.attributes = FileAttribute::Normal;
    entry.size = S_ISREG(st.stx_mode) ? int64_t(st.stx_size) : 0;
    entry.hasTime = st.stx_mask & STATX_MTIME;
    entry.mtimeSeconds = st.stx_mtime.tv_sec;
    entry.mtimeNanoseconds = st.stx_mtime.tv_nsec;
}

// One-pass reading goes in batches: 64 names the first time (a caller that stops at the
// first match reads little), then 4096.
constexpr size_t firstBatch = 64;
constexpr size_t laterBatch = 4096;

} // namespace

// One batch of a one-pass reading: its names, and their details in the same order.
struct FolderReader::Batch {
    FolderNames names;
    std::vector<uint32_t> indexes;
    std::vector<FolderEntry> entries;
};

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
    auto examineRange = [&](size_t begin, size_t end) {
        DosAttribReader dosAttrib(m_folder, m_open->dir.fd(), m_open->dosAttribs);
        for (size_t k = begin; k < end; ++k)
            examineEntry(m_open->dir.fd(), m_open->hidden, names, indexes[k], dosAttrib, entries[k]);
    };
    const size_t threads = threadsFor(count);
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

std::future<void> FolderReader::examineAsync(const FolderNames& names, const uint32_t* indexes, size_t count,
                                             FolderEntry* entries) const
{
    auto work = [this, &names, indexes, count, entries] { examine(names, indexes, count, entries); };
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, work); // no thread: examined when waited for
    }
}

size_t FolderReader::threadsFor(size_t count) const
{
    if (m_threadCount > 0)
        return std::clamp<size_t>(count, 1, m_threadCount);
    if (count < parallelThreshold)
        return 1;
    // Lookups in one folder scale with the cores; past eight threads a batch of a few
    // thousand entries gains little more than the threads cost.
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
}

bool FolderReader::read(const std::function<bool(const FolderEntry&)>& visit)
{
    if (!open())
        return false;
    Batch batches[2];
    std::future<void> ahead; // after the batches: waited for before they go
    bool more = fillBatch(batches[0], firstBatch);
    examineBatch(batches[0]);
    // From the second batch on, the next batch is examined while this one is visited; a
    // caller that stops within the first small batch never pays for more.
    for (size_t current = 0, round = 0;; current ^= 1, ++round) {
        Batch& next = batches[current ^ 1];
        const bool overlap = more && round > 0;
        if (overlap) {
            more = fillBatch(next, laterBatch);
            ahead = examineAsync(next.names, next.indexes.data(), next.indexes.size(), next.entries.data());
        }
        if (!visitBatch(batches[current], visit))
            return true;
        if (overlap) {
            ahead.get();
        } else if (more) {
            more = fillBatch(next, laterBatch);
            examineBatch(next);
        } else {
            return true;
        }
    }
}

bool FolderReader::fillBatch(Batch& batch, size_t limit)
{
    batch.names.clear();
    const bool more = readNames(batch.names, [&] { return batch.names.size() < limit; });
    batch.indexes.resize(batch.names.size());
    std::iota(batch.indexes.begin(), batch.indexes.end(), uint32_t(0));
    batch.entries.resize(batch.names.size());
    return more;
}

void FolderReader::examineBatch(Batch& batch) const
{
    examine(batch.names, batch.indexes.data(), batch.indexes.size(), batch.entries.data());
}

bool FolderReader::visitBatch(const Batch& batch, const std::function<bool(const FolderEntry&)>& visit) const
{
    for (const FolderEntry& entry : batch.entries) {
        if (!entry.name || (m_scope == Scope::FoldersOnly && !entry.isDirectory))
            continue;
        if (!visit(entry))
            return false;
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
