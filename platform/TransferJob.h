#pragma once
// One run of the file operation as a job: plan (resolve targets, refuse transfers onto
// themselves), then execute item by item, checking Cancel between items and between chunks
// of a big file. Counters can be read from any thread while it runs.

#include "platform/FileOperation.h"
#include "platform/Prompter.h"

#include <QByteArray>
#include <QMutex>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include <sys/stat.h>

class TransferJob {
public:
    TransferJob(FileOperationKind kind, QStringList sources, QStringList targets, FileOperationFlags flags);

    // Does the whole job on the calling thread; questions go to the UI thread. Calls the
    // finished callback (on that thread) as its last step.
    void run();
    void setOnFinished(std::function<void()> callback) { m_onFinished = std::move(callback); }
    void cancel() { m_cancelled = true; }

    FileOperationKind kind() const { return m_kind; }
    bool isFinished() const { return m_finished; }
    const FileOperationResult& result() const { return m_result; }

    std::int64_t totalBytes() const { return m_totalBytes; }
    std::int64_t doneBytes() const { return m_doneBytes; }
    std::int64_t totalItems() const { return m_totalItems; }
    std::int64_t doneItems() const { return m_doneItems; }
    QString currentItem() const;

private:
    struct Item {
        QByteArray src;
        QByteArray dst;
        struct stat st;
        bool copied = false;
    };
    struct Pair {
        QByteArray src;
        QByteArray dst;
    };

    bool plan();
    bool checkPair(const Pair& pair);
    void execute();
    bool copyPair(const Pair& pair, bool forMove);
    bool walk(const QByteArray& src, const QByteArray& dst, std::vector<Item>* items);
    bool copyItems(std::vector<Item>& items);
    bool copyOne(Item& item, bool replace);
    bool removeCopiedSources(const std::vector<Item>& items);
    bool movePair(const QByteArray& src, const QByteArray& dst);
    bool mergeFolders(const QByteArray& src, const QByteArray& dst);
    bool deletePath(const QByteArray& path);
    bool renamePair(const Pair& pair);

    // Replace question; true to replace, false to skip (m_aborted set on Cancel).
    bool askReplace(const QByteArray& src, const QByteArray& dst);
    bool failWith(const QString& verb, const QByteArray& path, const QString& reason);
    void setCurrent(const QByteArray& path);
    void itemDone(std::int64_t bytes = 0);
    bool stopped() const { return m_cancelled || m_aborted || !m_result.error.isEmpty(); }

    FileOperationKind m_kind;
    QStringList m_sources;
    QStringList m_targets;
    FileOperationFlags m_flags;
    std::vector<Pair> m_pairs;
    bool m_replaceAll = false;
    bool m_aborted = false;
    FileOperationResult m_result;

    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_finished{false};
    std::atomic<std::int64_t> m_totalBytes{0};
    std::atomic<std::int64_t> m_doneBytes{0};
    std::atomic<std::int64_t> m_totalItems{0};
    std::atomic<std::int64_t> m_doneItems{0};
    std::function<void()> m_onFinished;
    mutable QMutex m_currentMutex;
    QString m_current;
};

// Runs fn on the UI thread (blocking the calling worker until it returns); directly when
// already there or when no application object exists.
PromptButton AskOnUiThread(const std::function<PromptButton()>& fn);
