#pragma once
// One run of the file operation as a job: plan (resolve targets, refuse transfers onto
// themselves), then execute item by item, checking Cancel between items and between chunks
// of a big file. Counters can be read from any thread while it runs.

#include "platform/FileOperation.h"
#include "platform/Job.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

#include <sys/stat.h>

class TransferJob final : public Job {
public:
    TransferJob(FileOperationKind kind, QStringList sources, QStringList targets, FileOperationFlags flags);

    FileOperationKind kind() const { return m_kind; }
    // Read once the job has finished.
    FileOperationResult result() const;

protected:
    bool plan() override;
    void execute() override;

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

    bool checkPair(const Pair& pair);
    bool copyPair(const Pair& pair, bool forMove);
    bool walk(const QByteArray& src, const QByteArray& dst, std::vector<Item>* items);
    bool copyItems(std::vector<Item>& items);
    bool copyOne(Item& item, bool replace);
    bool removeCopiedSources(const std::vector<Item>& items);
    bool movePair(const QByteArray& src, const QByteArray& dst);
    bool mergeFolders(const QByteArray& src, const QByteArray& dst);
    bool deletePath(const QByteArray& path);

    // Replace question; true to replace, false to skip (the job is cancelled on Cancel).
    bool askReplace(const QByteArray& src, const QByteArray& dst);
    bool failWith(const QString& verb, const QByteArray& path, const QString& reason);
    void setCurrent(const QByteArray& path);

    FileOperationKind m_kind;
    QStringList m_sources;
    QStringList m_targets;
    FileOperationFlags m_flags;
    std::vector<Pair> m_pairs;
    bool m_replaceAll = false;
};
