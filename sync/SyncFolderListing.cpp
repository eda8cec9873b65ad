#include "sync/SyncFolderListing.h"

#include "platform/DirStream.h"
#include "sync/SyncCopier.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>

SyncFolderListing::SyncFolderListing(const QByteArray& folder)
{
    DirStream dir(folder);
    if (!dir.isOpen()) {
        if (dir.error() != ENOENT)
            m_error = dir.status().errorString();
        return;
    }
    while (const dirent* item = dir.next()) {
        if (SyncCopier::isStagedName(QByteArray::fromRawData(item->d_name, qsizetype(std::strlen(item->d_name)))))
            continue;
        struct stat st {};
        // An entry removed between the read and the stat is simply not there.
        if (::fstatat(dir.fd(), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        m_entries.push_back({QByteArray(item->d_name), SyncEntry::fromStat(st)});
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const SyncFolderEntry& a, const SyncFolderEntry& b) { return a.name < b.name; });
}

std::int64_t SyncFolderListing::fileCount() const
{
    return std::count_if(m_entries.begin(), m_entries.end(),
                         [](const SyncFolderEntry& e) { return e.entry.kind == SyncKind::File; });
}

std::int64_t SyncFolderListing::fileBytes() const
{
    std::int64_t bytes = 0;
    for (const SyncFolderEntry& e : m_entries) {
        if (e.entry.kind == SyncKind::File)
            bytes += e.entry.size;
    }
    return bytes;
}
