#pragma once
// One run of the file operation as a job: plan (resolve targets, refuse transfers onto
// themselves), then execute item by item, checking Cancel between items and between chunks
// of a big file. Counters can be read from any thread while it runs.
//
// A copy into the folder that holds its source makes a copy under a new name
// ("name - Copy.ext", "name - Copy (2).ext", ...); a move there leaves the source as it is.

#include "platform/FileOperation.h"
#include "platform/Job.h"
#include "platform/linux/FileCopier.h"

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
    // Where a source goes: to the target given, under a free new name beside itself (a copy
    // into its own folder), or nowhere (a move into its own folder).
    enum class Place { AsGiven, UnderNewName, WhereItIs };
    struct Item {
        QByteArray src;
        QByteArray dst;
        struct stat st;
        bool copied = false;
        bool newName = false; // dst is only the first name tried
    };
    struct Pair {
        QByteArray src;
        QByteArray dst;
        Place place = Place::AsGiven;
    };

    bool checkPair(const Pair& pair);
    bool copyPair(const Pair& pair, bool forMove);
    bool walk(const QByteArray& src, const QByteArray& dst, std::vector<Item>* items);
    bool copyItems(std::vector<Item>& items);
    bool copyOne(Item& item, bool replace);
    bool copyUnderNewName(std::vector<Item>& items, std::size_t first);
    Result<FileCopier::Step> createItem(Item& item, bool replace);
    bool finishItem(Item& item, const Result<FileCopier::Step>& created);
    void runItemHook(const QByteArray& src);
    static void retarget(std::vector<Item>& items, std::size_t first, const QByteArray& dst);
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
