#pragma once
// One synchronisation run as a job: plan() checks every pair and gathers the statistics of
// both sides (folders, files, bytes), execute() brings each pair into line in both directions,
// from the last pair to the first. A name missing on one side is copied there (unless
// "File must exist" is set), a name on both sides is replaced by the copy with the later
// modification time, and with recursion every subfolder is mirrored as well (even when
// "File must exist" is set).
//
// Nothing is lost on the way: a copy goes to a temporary file beside its target and takes its
// name only when complete (replacements in batches, each flushed to disk before any rename);
// a target that changed since it was compared is left alone; links
// are copied as links and never followed; FIFOs, sockets and devices are never opened and are
// skipped, as is a name that is a file on one side and a link or folder on the other. A file
// that cannot be copied is not counted and the run goes on; a mirror folder that cannot be
// made ends the run (errorString() says which). Stop (cancel()) is honoured between files and
// inside a big one, whose partial copy is removed.

#include "platform/Job.h"
#include "sync/SyncCopier.h"
#include "sync/SyncRules.h"

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

struct SyncPair {
    QByteArray left;
    QByteArray right;
};

struct SyncOptions {
    bool mustExist = false; // "File must exist": only names on both sides are brought up to date
    bool recurse = false;   // "Include sub folders"
};

enum class SyncPhase { CheckingFolders, CheckingFiles, Synchronizing };

// What a window shows of a running job; read with status() from any thread.
struct SyncStatus {
    SyncPhase phase = SyncPhase::CheckingFiles;
    int pair = -1;               // index of the pair being worked on
    std::int64_t bytesFound = 0; // statistics gathered so far, both sides
    QString leftText;            // "Checking: ..." or "Copying: ..."
    QString rightText;           // "Checking: ..." or "to ..."
    std::int64_t fileWritten = 0; // the file being copied
    std::int64_t fileSize = 0;
};

struct SyncSideCounts {
    std::int64_t folders = 0;
    std::int64_t files = 0;
    std::int64_t bytes = 0;
};

struct SyncFailure {
    QByteArray path;
    QString message;
};

struct SyncResult {
    std::int64_t foldersCreated = 0;
    std::int64_t filesUpdated = 0;
    std::int64_t notUpdated = 0; // copies that failed, or whose target changed meanwhile
    std::int64_t skipped = 0;    // special files and names of another kind on each side
    SyncSideCounts left;
    SyncSideCounts right;
    std::vector<SyncFailure> failures; // the first kMaxFailures of the not updated and skipped
};

class SyncJob final : public Job {
public:
    static constexpr std::size_t kMaxFailures = 1000;
    // Replacements staged before they are flushed and renamed together.
    static constexpr std::size_t kStageBatch = 1024;
    static constexpr std::int64_t kStageBytes = std::int64_t(256) << 20;

    // pairs in list order; they are worked from the last to the first.
    SyncJob(std::vector<SyncPair> pairs, SyncOptions options);

    SyncStatus status() const;
    // The counts so far; final once the job has finished.
    SyncResult result() const;
    // Planning refused a pair: errorString() is the "Nothing to synchronize" kind of text.
    bool refused() const { return m_refused; }

protected:
    bool plan() override;
    void execute() override;

private:
    // Adds the statistics of top (and its subfolders when recursing) to m_result.*side.
    void gather(const QByteArray& top, SyncSideCounts SyncResult::*side);
    void syncPair(const SyncPair& pair);
    // Brings the files of one folder pair into line; the subfolders to visit next go to *next.
    void syncFolder(const QByteArray& left, const QByteArray& right, std::vector<QByteArray>* next,
                    const QByteArray& relative);
    enum class FolderStep { Descend, Skip, Stop };
    // A folder on one side: mirrored and descended into, skipped, or (its mirror cannot be
    // made) the end of the run.
    FolderStep mirrorFolder(const QByteArray& left, const QByteArray& right, const SyncEntry& l, const SyncEntry& r);
    void syncName(const QByteArray& left, const QByteArray& right, const SyncEntry& l, const SyncEntry& r,
                  std::int64_t resolution);
    void copyOne(const QByteArray& src, const QByteArray& dst, const SyncEntry& from, const SyncEntry& to);
    // Puts the staged replacements in place (one flush for the batch).
    void commitStaged();
    void settle(SyncCopier::Outcome outcome, const QByteArray& src, const QByteArray& dst, const QString& error);
    static QString changedText();
    void fail(const QByteArray& path, const QString& message, bool skipped);
    void setTexts(const QString& left, const QString& right);

    std::vector<SyncPair> m_pairs;
    std::vector<SyncCopier::Staged> m_staged;
    std::int64_t m_stagedBytes = 0;
    SyncOptions m_options;
    std::atomic<bool> m_refused{false};
    std::atomic<std::int64_t> m_fileWritten{0};
    mutable QMutex m_mutex; // guards the two below
    SyncStatus m_status;
    SyncResult m_result;
};
