#include "search/DuplicateJob.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"

#include <xxhash.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <thread>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

// Opens a regular file for reading without blocking on a FIFO that took its place.
FileDescriptor openRegular(const QByteArray& path, std::int64_t* size)
{
    FileDescriptor fd(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileDescriptor();
    *size = st.st_size;
    return fd;
}


} // namespace

DuplicateJob::DuplicateJob(std::vector<QByteArray> paths, int threads)
    : m_paths(std::move(paths))
    , m_threads(threads > 0 ? threads : std::clamp(int(std::thread::hardware_concurrency()), 2, 8))
    , m_unreadable(m_paths.size(), false)
{
}

QStringList DuplicateJob::unreadableFiles() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QStringList files;
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        if (m_unreadable[i])
            files.append(FileName::decode(m_paths[i]));
    }
    return files;
}

void DuplicateJob::markUnreadable(int index)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_unreadable[std::size_t(index)] = true;
}

bool DuplicateJob::plan()
{
    std::map<std::pair<dev_t, ino_t>, int> seen;
    std::unordered_map<std::int64_t, Bucket> bySize;
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        struct stat st;
        if (::lstat(m_paths[i].constData(), &st) != 0) {
            m_unreadable[i] = true;
            continue;
        }
        if (!S_ISREG(st.st_mode) || !seen.emplace(std::make_pair(st.st_dev, st.st_ino), int(i)).second)
            continue;
        bySize[st.st_size].push_back(Candidate{int(i), st.st_size});
    }
    for (auto& [size, bucket] : bySize) {
        if (bucket.size() < 2)
            continue;
        addTotal(std::int64_t(bucket.size()), size * std::int64_t(bucket.size()));
        m_bySize.push_back(std::move(bucket));
    }
    return true;
}

template<typename Work>
void DuplicateJob::forEach(std::size_t count, const Work& work)
{
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        std::vector<char> a, b;
        for (std::size_t i = next++; i < count && !isCancelled(); i = next++)
            work(i, a, b);
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < std::min<int>(m_threads, int(count)); ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads)
        thread.join();
}

bool DuplicateJob::hashFile(Candidate& candidate, bool whole, std::vector<char>& buffer)
{
    std::int64_t size = 0;
    const FileDescriptor fd = openRegular(m_paths[std::size_t(candidate.index)], &size);
    if (!fd.isOpen() || size != candidate.size)
        return false;
    buffer.resize(kBlockSize);
    XXH3_state_t* state = XXH3_createState();
    XXH3_64bits_reset(state);
    const std::size_t limit = whole ? SIZE_MAX : std::size_t(kHeadSize);
    std::size_t done = 0;
    bool ok = true;
    while (done < limit && !isCancelled()) {
        const std::int64_t got = fd.readAt(std::int64_t(done), buffer.data(), std::int64_t(std::min(kBlockSize, limit - done)));
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        XXH3_64bits_update(state, buffer.data(), std::size_t(got));
        done += std::size_t(got);
    }
    candidate.key = XXH3_64bits_digest(state);
    XXH3_freeState(state);
    return ok;
}

bool DuplicateJob::sameBytes(int a, int b, std::vector<char>& bufferA, std::vector<char>& bufferB)
{
    std::int64_t sizeA = 0, sizeB = 0;
    const FileDescriptor fdA = openRegular(m_paths[std::size_t(a)], &sizeA);
    if (!fdA.isOpen()) {
        markUnreadable(a);
        return false;
    }
    const FileDescriptor fdB = openRegular(m_paths[std::size_t(b)], &sizeB);
    if (!fdB.isOpen()) {
        markUnreadable(b);
        return false;
    }
    if (sizeA != sizeB)
        return false;
    bufferA.resize(kBlockSize);
    bufferB.resize(kBlockSize);
    for (std::int64_t offset = 0; !isCancelled();) {
        const std::int64_t gotA = fdA.readAt(offset, bufferA.data(), std::int64_t(kBlockSize));
        const std::int64_t gotB = fdB.readAt(offset, bufferB.data(), std::int64_t(kBlockSize));
        if (gotA < 0 || gotB < 0) {
            markUnreadable(gotA < 0 ? a : b);
            return false;
        }
        if (gotA != gotB || std::memcmp(bufferA.data(), bufferB.data(), std::size_t(gotA)) != 0)
            return false;
        if (gotA == 0)
            return true;
        offset += gotA;
    }
    return false;
}

void DuplicateJob::refine(std::vector<Bucket>& buckets, bool whole)
{
    // Pairs go straight to the byte comparison: it reads each file once, as a hash would.
    // A whole-file hash pays only for a large bucket, where it saves comparing every file
    // with several others; a small one is settled by comparing (files of one head mostly
    // turn out equal, and each equal file is then read once more at most).
    std::vector<Candidate*> work;
    for (Bucket& bucket : buckets) {
        const bool worthHashing = whole ? bucket.size() > kWholeHashBucket && bucket.front().size > kHeadSize
                                        : bucket.size() > 2;
        for (Candidate& candidate : bucket) {
            if (worthHashing)
                work.push_back(&candidate);
        }
    }
    forEach(work.size(), [&](std::size_t i, std::vector<char>& buffer, std::vector<char>&) {
        Candidate& candidate = *work[i];
        setCurrentItem(QStringLiteral("Compare ") + FileName::decode(m_paths[std::size_t(candidate.index)])
                       + QStringLiteral(" to others in list..."));
        if (!hashFile(candidate, whole, buffer)) {
            candidate.readable = false;
            markUnreadable(candidate.index);
        }
    });
    std::vector<Bucket> refined;
    for (Bucket& bucket : buckets) {
        std::map<std::uint64_t, Bucket> byKey;
        for (const Candidate& candidate : bucket) {
            if (candidate.readable)
                byKey[candidate.key].push_back(candidate);
        }
        for (auto& [key, part] : byKey) {
            if (part.size() > 1)
                refined.push_back(std::move(part));
        }
    }
    buckets = std::move(refined);
}

void DuplicateJob::confirm(std::vector<Bucket>& buckets)
{
    std::vector<std::vector<std::vector<int>>> found(buckets.size());
    forEach(buckets.size(), [&](std::size_t i, std::vector<char>& a, std::vector<char>& b) {
        std::vector<int> rest;
        for (const Candidate& candidate : buckets[i])
            rest.push_back(candidate.index);
        while (rest.size() > 1 && !isCancelled()) {
            const int first = rest.front();
            setCurrentItem(QStringLiteral("Compare ") + FileName::decode(m_paths[std::size_t(first)])
                           + QStringLiteral(" to others in list..."));
            std::vector<int> group{first}, others;
            for (std::size_t k = 1; k < rest.size(); ++k)
                (sameBytes(first, rest[k], a, b) ? group : others).push_back(rest[k]);
            itemDone(buckets[i].front().size * std::int64_t(group.size()));
            if (group.size() > 1)
                found[i].push_back(std::move(group));
            rest = std::move(others);
        }
    });
    for (auto& groups : found) {
        for (auto& group : groups) {
            // A member whose read failed after it matched is left out too.
            std::erase_if(group, [this](int index) { return m_unreadable[std::size_t(index)]; });
            if (group.size() < 2)
                continue;
            std::sort(group.begin(), group.end());
            m_groups.push_back(std::move(group));
        }
    }
    std::sort(m_groups.begin(), m_groups.end());
}

void DuplicateJob::execute()
{
    std::vector<Bucket> buckets = std::move(m_bySize);
    refine(buckets, false);
    if (!isCancelled())
        refine(buckets, true);
    if (!isCancelled())
        confirm(buckets);
}
