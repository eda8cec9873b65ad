#pragma once
// The duplicate pass as a job: finds the files of a list that hold the same bytes. Files are
// grouped by size, then by a hash of their first 64 KiB, then (in large groups) by a hash of
// the whole file (xxHash), and two files are called equal only after a byte comparison. Only regular files
// take part; the same file listed twice (same device and inode, also through a hard link) is
// not a duplicate of itself. A file that cannot be read is left out and reported once; the
// pass goes on. Hashing and comparing run on worker threads; Cancel is read between files
// and between blocks.

#include "platform/Job.h"

#include <QByteArray>
#include <QStringList>

#include <mutex>
#include <vector>

class DuplicateJob final : public Job {
public:
    // paths: the list in its order (bytes).
    explicit DuplicateJob(std::vector<QByteArray> paths, int threads = 0);

    // Each group holds the list positions of files with equal bytes, ascending; groups are
    // ordered by their first position. Read once the job has finished.
    const std::vector<std::vector<int>>& groups() const { return m_groups; }
    // The files that could not be read (decoded paths).
    QStringList unreadableFiles() const;

    static constexpr qsizetype kHeadSize = 64 * 1024;
    // Buckets of equal heads larger than this are split by a whole-file hash before comparing.
    static constexpr std::size_t kWholeHashBucket = 8;

protected:
    bool plan() override;
    void execute() override;

private:
    struct Candidate {
        int index;
        std::int64_t size;
        std::uint64_t key = 0; // the head hash, then the whole hash
        bool readable = true;
    };
    using Bucket = std::vector<Candidate>;

    void refine(std::vector<Bucket>& buckets, bool whole);
    void confirm(std::vector<Bucket>& buckets);
    bool hashFile(Candidate& candidate, bool whole, std::vector<char>& buffer);
    bool sameBytes(int a, int b, std::vector<char>& bufferA, std::vector<char>& bufferB);
    void markUnreadable(int index);
    template<typename Work>
    void forEach(std::size_t count, const Work& work);

    std::vector<QByteArray> m_paths;
    int m_threads;
    std::vector<Bucket> m_bySize;
    std::vector<std::vector<int>> m_groups;
    mutable std::mutex m_mutex;
    std::vector<bool> m_unreadable;
};
