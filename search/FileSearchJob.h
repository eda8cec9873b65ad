#pragma once
// The file search as a job: walks the start folders on worker threads, tests each entry
// that is not a folder by name (NameMatcher) and, with a content text, by its bytes
// (ContentMatcher), and hands the hits over in batches while it runs.
//
// The walk never follows a link into a folder and visits each folder (device and inode)
// once, so links and bind mounts that loop end; it never opens a FIFO, socket or device for
// its content (they can still be found by name); a folder that cannot be read is passed
// over. Cancel is read between entries and between the blocks of a file.

#include "platform/Job.h"
#include "search/SearchHit.h"

#include <QStringList>

#include <functional>
#include <mutex>
#include <vector>

struct SearchOptions {
    QStringList startFolders;  // paths as FileName::decode gives them
    QString namePattern;       // not empty
    QString contentText;       // empty: names only
    bool recurse = true;
    bool details = true;       // read each hit's size and time
    int threads = 0;           // 0: one per processor, at least two
};

class FileSearchJob final : public Job {
public:
    explicit FileSearchJob(SearchOptions options);
    ~FileSearchJob() override;

    const SearchOptions& options() const { return m_options; }

    // The hits found since the last call, when no sink is set (any thread).
    std::vector<SearchHit> takeHits();
    // Sends each batch to sink instead, one call at a time, from the workers.
    void setHitSink(std::function<void(std::vector<SearchHit>&)> sink) { m_sink = std::move(sink); }
    // The files whose content could not be read (paths as decoded text).
    QStringList uncheckedFiles() const;
    // The text that reports one such file.
    static QString uncheckedMessage(const QString& path, const QString& contentText);

    // The roots of the local, non-removable drives that are mounted: "all fixed drives".
    static QStringList fixedDriveRoots();

protected:
    bool plan() override;
    void execute() override;

private:
    class Walk;
    void deliver(std::vector<SearchHit>& batch);
    void addUnchecked(const QByteArray& path);

    SearchOptions m_options;
    std::vector<QByteArray> m_roots;
    std::function<void(std::vector<SearchHit>&)> m_sink;
    mutable std::mutex m_hitsMutex;
    std::vector<SearchHit> m_pending;
    QStringList m_unchecked;
};
