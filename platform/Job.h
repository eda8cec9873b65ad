#pragma once
// The one shape of long work in the program (copy, delete, batch tools, and later search,
// duplicates, sync and zip): plan, then execute item by item, checking Cancel between items.
// A job publishes counters and its current item for a window to poll from another thread,
// asks a resolver structured questions (a conflict, an error) instead of wording them, and
// keeps its first error as the result.
//
// The error policy is the same for every job: an item that fails asks the resolver, which
// may retry it, skip it or abort; abort (the program's answer) ends the job with that error,
// and the caller reports it once. Refusals found while planning always end the job.
//
// A job runs on one thread (JobRunner's worker, or a caller that waits); only cancel(),
// isCancelled(), isFinished() and progress() may be called from other threads meanwhile.

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

// A snapshot of a running job's counters, for a progress window.
struct JobProgress {
    std::int64_t totalItems = 0;
    std::int64_t doneItems = 0;
    std::int64_t totalBytes = 0;
    std::int64_t doneBytes = 0; // includes the part of the current item done so far
    QString currentItem;        // the item being worked on, as shown to the user
};

enum class JobConflictKind {
    TargetExists, // the target of an item exists: replace it?
    NoTrash,      // the item cannot go to the Trash: delete it permanently?
};

// A question about one item. Paths are the names as bytes; sizes and times describe both
// files so that a resolver can word the question without looking at the disk again.
struct JobConflict {
    JobConflictKind kind = JobConflictKind::TargetExists;
    QByteArray source;   // the item being worked on
    QByteArray existing; // TargetExists: the file in the way
    std::int64_t sourceSize = 0;
    std::int64_t existingSize = 0;
    QDateTime sourceModified;
    QDateTime existingModified;
    QString reason; // NoTrash: why the Trash refused it
};

enum class JobConflictChoice {
    Proceed,    // replace the existing file / delete permanently
    ProceedAll, // the same for every later conflict of this kind in the job
    Skip,       // leave this item and go on
    Cancel,     // end the job
};

// An item that failed: the message names what failed and where.
struct JobError {
    QByteArray path;
    QString message;
};

enum class JobErrorChoice { Retry, Skip, Abort };

// Answers a job's questions. JobRunner calls it on the UI thread; tests script it.
class JobResolver {
public:
    virtual ~JobResolver();
    virtual JobConflictChoice resolveConflict(const JobConflict& conflict) = 0;
    virtual JobErrorChoice resolveError(const JobError& error) = 0;
};

class Job {
public:
    virtual ~Job();

    // Plans, then executes unless planning failed or Cancel came; on the calling thread.
    void run();

    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }
    bool isFinished() const { return m_finished; }
    JobProgress progress() const;

    // The first error, empty when none; set before isFinished() turns true.
    QString errorString() const;
    // Finished with every item done or skipped by an answer, no error and no Cancel.
    bool succeeded() const { return isFinished() && !isCancelled() && errorString().isEmpty(); }

    // Where the questions go; without one a conflict is skipped and an error aborts.
    void setResolver(JobResolver* resolver) { m_resolver = resolver; }

protected:
    // Walks the input into items and totals them; false ends the job (after setError).
    virtual bool plan() = 0;
    // Does the items, checking stopped() between them.
    virtual void execute() = 0;

    // Keeps the first error only: later ones follow from it.
    void setError(const QString& message);
    bool hasError() const;
    bool stopped() const { return isCancelled() || hasError(); }

    void addTotal(std::int64_t items, std::int64_t bytes = 0);
    void setCurrentItem(const QString& item);
    // Bytes of the current item done so far (shown before the item completes).
    void setItemBytes(std::int64_t bytes) { m_itemBytes = bytes; }
    void itemDone(std::int64_t bytes = 0);

    // Asks the resolver; a Cancel answer cancels the job.
    JobConflictChoice askConflict(const JobConflict& conflict);
    // The error policy for one item: runs work until it succeeds, or the resolver skips it
    // (true) or aborts (false, the error stays). work reports its failure through setError.
    bool settleItem(const QByteArray& path, const std::function<bool()>& work);

private:
    JobResolver* m_resolver = nullptr;
    bool m_errorFinal = false; // the resolver aborted on the error kept (worker thread only)
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_finished{false};
    std::atomic<std::int64_t> m_totalItems{0};
    std::atomic<std::int64_t> m_doneItems{0};
    std::atomic<std::int64_t> m_totalBytes{0};
    std::atomic<std::int64_t> m_doneBytes{0};
    std::atomic<std::int64_t> m_itemBytes{0};
    mutable QMutex m_mutex; // guards the strings below
    QString m_current;
    QString m_error;
};
