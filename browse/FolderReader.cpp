#include "browse/FolderReader.h"

#include "browse/DosAttrib.h"
#include "browse/HiddenList.h"
#include "platform/DirStream.h"
#include "platform/FileName.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

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
// hidden and system bits are added. Gives up on the first file system without xattrs.
class DosAttribReader {
public:
    explicit DosAttribReader(const QString& folder)
        : m_path(FileName::encode(folder).toStdString())
    {
        if (m_path.empty() || m_path.back() != '/')
            m_path += '/';
        m_folderLength = m_path.size();
    }

    void apply(const char* name, uint32_t& attributes)
    {
        if (!m_enabled)
            return;
        m_path.resize(m_folderLength);
        m_path += name;
        uint8_t value[64];
        const ssize_t n = ::getxattr(m_path.c_str(), DosAttrib::xattrName, value, sizeof value);
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
    std::string m_path;
    size_t m_folderLength = 0;
    bool m_enabled = true;
};

// Entries are read in batches: the names of up to 4096 entries first (64 the first time,
// so that a caller that stops at the first match reads little), then their statx
// and extended attributes, spread over a few threads when the batch is large (the kernel's
// path lookups dominate the cost of listing a big folder), then the visits in order on the
// calling thread, which keeps progress reports flowing for every batch.
class EntryBatch {
public:
    static constexpr size_t firstCapacity = 64;
    static constexpr size_t capacity = 4096;

    EntryBatch(int folderFd, const QString& folder, const HiddenList& hidden)
        : m_fd(folderFd)
        , m_folder(folder)
        , m_hidden(hidden)
    {
    }

    // Reads the next names; false when the folder has no more.
    bool fill(DirStream& dir, FolderReader::Scope scope)
    {
        m_names.clear();
        m_offsets.clear();
        const size_t limit = m_filled++ == 0 ? firstCapacity : capacity;
        while (m_offsets.size() < limit) {
            const dirent* d = dir.next();
            if (!d)
                return false;
            const char* name = d->d_name;
            if (scope == FolderReader::Scope::FoldersOnly && d->d_type != DT_DIR && d->d_type != DT_LNK
                && d->d_type != DT_UNKNOWN)
                continue;
            m_offsets.push_back(m_names.size());
            m_names.insert(m_names.end(), name, name + std::strlen(name) + 1);
        }
        return true;
    }

    void examine()
    {
        m_entries.assign(m_offsets.size(), FolderEntry());
        m_found.assign(m_offsets.size(), 0);
        const size_t count = m_offsets.size();
        const size_t threads = count < 512 ? 1 : std::min<size_t>(4, std::max(1u, std::thread::hardware_concurrency()));
        std::vector<std::thread> workers;
        size_t t = 1;
        try {
            for (; t < threads; ++t)
                workers.emplace_back([this, t, threads, count] { examineRange(count * t / threads, count * (t + 1) / threads); });
        } catch (const std::system_error&) {
            // No thread to be had: this thread does the rest.
        }
        examineRange(0, count / threads);
        for (size_t rest = t; rest < threads; ++rest)
            examineRange(count * rest / threads, count * (rest + 1) / threads);
        for (std::thread& worker : workers)
            worker.join();
    }

    bool visitAll(FolderReader::Scope scope, const std::function<bool(const FolderEntry&)>& visit) const
    {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (!m_found[i] || (scope == FolderReader::Scope::FoldersOnly && !m_entries[i].isDirectory))
                continue;
            if (!visit(m_entries[i]))
                return false;
        }
        return true;
    }

private:
    void examineRange(size_t begin, size_t end)
    {
        DosAttribReader dosAttrib(m_folder);
        for (size_t i = begin; i < end; ++i) {
            const char* name = m_names.data() + m_offsets[i];
            struct statx st;
            if (!statEntry(m_fd, name, &st))
                continue; // removed while we read
            FolderEntry& entry = m_entries[i];
            entry.name = name;
            entry.nameLength = std::strlen(name);
            entry.isDirectory = S_ISDIR(st.stx_mode);
            entry.attributes = attributesOf(st, name[0] == '.', m_hidden.contains(name, entry.nameLength));
            dosAttrib.apply(name, entry.attributes);
            if (!(entry.attributes & ~FileAttribute::Normal))
                entry.attributes = FileAttribute::Normal;
            entry.size = S_ISREG(st.stx_mode) ? int64_t(st.stx_size) : 0;
            entry.hasTime = st.stx_mask & STATX_MTIME;
            entry.mtimeSeconds = st.stx_mtime.tv_sec;
            entry.mtimeNanoseconds = st.stx_mtime.tv_nsec;
            m_found[i] = 1;
        }
    }

    int m_fd;
    const QString& m_folder;
    const HiddenList& m_hidden;
    std::vector<char> m_names;
    std::vector<size_t> m_offsets;
    std::vector<FolderEntry> m_entries;
    std::vector<char> m_found;
    unsigned m_filled = 0;
};

} // namespace

FolderReader::FolderReader(QString folder, Scope scope)
    : m_folder(std::move(folder))
    , m_scope(scope)
{
}

bool FolderReader::read(const std::function<bool(const FolderEntry&)>& visit)
{
    m_error.clear();
    DirStream dir(FileName::encode(m_folder));
    if (!dir.isOpen()) {
        m_error = dir.errorString();
        return false;
    }
    const HiddenList hidden = HiddenList::read(dir.fd());
    EntryBatch batch(dir.fd(), m_folder, hidden);
    bool more = true;
    while (more) {
        more = batch.fill(dir, m_scope);
        batch.examine();
        if (!batch.visitAll(m_scope, visit))
            break;
    }
    return true;
}
