#include "fileops/WorkList.h"

#include "platform/DirStream.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include <algorithm>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct Entry {
    std::string name; // short names need no allocation
    bool file = false;
    bool folder = false; // a real folder, never a link to one
};

// The type from the folder read; a link is followed only to see whether it leads to a file.
Entry classify(int folderFd, const dirent* d)
{
    Entry entry{std::string(d->d_name), d->d_type == DT_REG, d->d_type == DT_DIR};
    if (d->d_type != DT_LNK && d->d_type != DT_UNKNOWN)
        return entry;
    struct stat st {};
    if (d->d_type == DT_UNKNOWN && ::fstatat(folderFd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        entry.file = S_ISREG(st.st_mode);
        entry.folder = S_ISDIR(st.st_mode);
        if (!S_ISLNK(st.st_mode))
            return entry;
    }
    entry.file = ::fstatat(folderFd, d->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
    return entry;
}

class Walker {
public:
    Walker(QStringList& files, const std::function<bool()>& stop, const std::function<void()>& onFile)
        : m_files(files), m_stop(stop), m_onFile(onFile)
    {
    }

    void folder(const QByteArray& path)
    {
        std::vector<Entry> entries;
        {
            DirStream dir(path);
            while (const dirent* d = dir.next())
                entries.push_back(classify(dir.fd(), d));
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        const QByteArray base = path.endsWith('/') ? path : path + '/';
        // One buffer for the paths' bytes; each file's path is decoded from it in one go.
        QByteArray full = base;
        for (const Entry& entry : entries) {
            if (!entry.file)
                continue;
            full.truncate(base.size());
            full.append(entry.name.data(), qsizetype(entry.name.size()));
            add(FileName::decode(full));
        }
        for (const Entry& entry : entries) {
            if (stopped())
                return;
            if (entry.folder && entry.name[0] != '.')
                folder(base + QByteArray(entry.name.data(), qsizetype(entry.name.size())));
        }
    }

    void add(const QString& path)
    {
        m_files << path;
        if (m_onFile)
            m_onFile();
    }

    bool stopped() const { return m_stop && m_stop(); }

private:
    QStringList& m_files;
    const std::function<bool()>& m_stop;
    const std::function<void()>& m_onFile;
};

} // namespace

QStringList CollectSelectedFiles(const QList<ListEntry>& rows, bool wholeList, const std::function<bool()>& stop,
                                 const std::function<void()>& onFile)
{
    QStringList files;
    Walker walker(files, stop, onFile);
    for (const ListEntry& row : rows) {
        if (row.parent || (!wholeList && !row.selected) || walker.stopped())
            continue;
        if (LocalFiles::isFile(row.fullPath))
            walker.add(row.fullPath);
        else if (LocalFiles::isDir(row.fullPath))
            walker.folder(FileName::encode(row.fullPath));
    }
    return files;
}

WorkListJob::WorkListJob(QList<ListEntry> rows, bool wholeList) : m_rows(std::move(rows)), m_wholeList(wholeList)
{
}

void WorkListJob::execute()
{
    m_files = CollectSelectedFiles(
        m_rows, m_wholeList, [this] { return isCancelled(); }, [this] { itemDone(); });
    if (isCancelled())
        m_files.clear();
}
