#include "search/FileSearchJob.h"

#include "platform/DirStream.h"
#include "platform/Drives.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "search/ContentMatcher.h"
#include "search/NameMatcher.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <set>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr std::size_t kBatchSize = 128;

SearchHit makeHit(const QByteArray& folder, const char* name, const struct stat* st)
{
    SearchHit hit;
    hit.folder = folder;
    hit.name = QByteArray(name);
    if (st) {
        hit.size = st->st_size;
        hit.modified = st->st_mtim.tv_sec;
    }
    return hit;
}

} // namespace

// The shared state of one walk: a queue of folders that the workers take from and add to,
// the folders seen, and the matchers.
class FileSearchJob::Walk {
public:
    Walk(FileSearchJob& job, std::vector<QByteArray> roots)
        : m_job(job)
        , m_names(job.m_options.namePattern)
        , m_content(FileName::encode(job.m_options.contentText))
        , m_queue(roots.begin(), roots.end())
    {
    }

    void run(int threads)
    {
        std::vector<std::thread> workers;
        for (int i = 0; i < threads; ++i)
            workers.emplace_back([this] { work(); });
        for (std::thread& worker : workers)
            worker.join();
    }

private:
    bool cancelled() const { return m_job.isCancelled(); }

    // Takes folders until none is left and no worker can add more.
    void work()
    {
        std::vector<char> buffer;
        std::vector<SearchHit> batch;
        for (;;) {
            QByteArray folder;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                while (m_queue.empty() && m_busy > 0 && !cancelled())
                    m_wake.wait_for(lock, std::chrono::milliseconds(20));
                if (m_queue.empty() || cancelled()) {
                    m_wake.notify_all();
                    break;
                }
                folder = std::move(m_queue.front());
                m_queue.pop_front();
                ++m_busy;
            }
            std::vector<QByteArray> subfolders;
            readFolder(folder, buffer, batch, subfolders);
            std::lock_guard<std::mutex> lock(m_mutex);
            for (QByteArray& sub : subfolders)
                m_queue.push_back(std::move(sub));
            --m_busy;
            m_wake.notify_all();
        }
        m_job.deliver(batch);
    }

    // Whether the folder open as fd is seen for the first time.
    bool firstVisit(int fd)
    {
        struct stat st;
        if (::fstat(fd, &st) != 0)
            return false;
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_visited.emplace(st.st_dev, st.st_ino).second;
    }

    void readFolder(const QByteArray& folder, std::vector<char>& buffer, std::vector<SearchHit>& batch,
                    std::vector<QByteArray>& subfolders)
    {
        DirStream dir(folder);
        if (!dir.isOpen() || !firstVisit(dir.fd()))
            return;
        m_job.setCurrentItem(QStringLiteral("Looking in > ") + FileName::decode(folder));
        const bool recurse = m_job.m_options.recurse;
        while (const dirent* entry = dir.next()) {
            if (cancelled())
                break;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(dir.fd(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : DT_FIFO;
            }
            if (type == DT_DIR) {
                if (recurse)
                    subfolders.push_back(folder + entry->d_name + '/');
                continue;
            }
            if (!m_names.matches(QByteArrayView(entry->d_name, qstrlen(entry->d_name))))
                continue;
            testEntry(dir.fd(), folder, entry->d_name, type, buffer, batch);
        }
        m_job.deliver(batch);
    }

    void testEntry(int dirFd, const QByteArray& folder, const char* name, unsigned char type,
                   std::vector<char>& buffer, std::vector<SearchHit>& batch)
    {
        struct stat st;
        if (m_content.isEmpty()) {
            const bool known = !m_job.m_options.details || ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
            batch.push_back(makeHit(folder, name, known && m_job.m_options.details ? &st : nullptr));
        } else if (type == DT_REG || type == DT_LNK) {
            m_job.setCurrentItem(QStringLiteral("Look in file > ") + FileName::decode(name));
            const auto result = m_content.searchFile(dirFd, QByteArray(name), buffer, [this] { return cancelled(); }, &st);
            if (result == ContentMatcher::FileResult::Found)
                batch.push_back(makeHit(folder, name, &st));
            else if (result == ContentMatcher::FileResult::Unreadable)
                m_job.addUnchecked(folder + name);
        }
        if (batch.size() >= kBatchSize)
            m_job.deliver(batch);
    }

    FileSearchJob& m_job;
    NameMatcher m_names;
    ContentMatcher m_content;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QByteArray> m_queue;
    int m_busy = 0;
    std::set<std::pair<dev_t, ino_t>> m_visited;
};

FileSearchJob::FileSearchJob(SearchOptions options)
    : m_options(std::move(options))
{
}

FileSearchJob::~FileSearchJob() = default;

std::vector<SearchHit> FileSearchJob::takeHits()
{
    std::lock_guard<std::mutex> lock(m_hitsMutex);
    return std::exchange(m_pending, {});
}

QStringList FileSearchJob::uncheckedFiles() const
{
    std::lock_guard<std::mutex> lock(m_hitsMutex);
    return m_unchecked;
}

QString FileSearchJob::uncheckedMessage(const QString& path, const QString& contentText)
{
    return QStringLiteral("Could not check file... ") + path + QStringLiteral(" for... ") + contentText;
}

QStringList FileSearchJob::fixedDriveRoots()
{
    QStringList roots;
    for (const DriveInfo& drive : ListDrives()) {
        if (drive.type == DriveType::Fixed && drive.mounted)
            roots.append(drive.root);
    }
    return roots;
}

void FileSearchJob::deliver(std::vector<SearchHit>& batch)
{
    if (batch.empty())
        return;
    std::lock_guard<std::mutex> lock(m_hitsMutex);
    if (m_sink) {
        m_sink(batch);
    } else {
        m_pending.insert(m_pending.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    }
    batch.clear();
}

void FileSearchJob::addUnchecked(const QByteArray& path)
{
    std::lock_guard<std::mutex> lock(m_hitsMutex);
    m_unchecked.append(FileName::decode(path));
}

bool FileSearchJob::plan()
{
    if (m_options.namePattern.isEmpty()) {
        setError(QStringLiteral("No file name to search for."));
        return false;
    }
    for (const QString& folder : m_options.startFolders)
        m_roots.push_back(PathText::withTrailingSlash(FileName::encode(folder)));
    return true;
}

void FileSearchJob::execute()
{
    const int processors = int(std::thread::hardware_concurrency());
    const int threads = m_options.threads > 0 ? m_options.threads : std::clamp(processors, 2, 8);
    Walk walk(*this, m_roots);
    walk.run(threads);
}
