#pragma once
// Helpers of the search tests: running the search engine to its end and the hits it gave
// as sorted paths, and a peer program's output as the same kind of list.

#include "search/FileSearchJob.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace SearchTree {

using Paths = QList<QByteArray>;

inline Paths searched(const QString& folder, const QString& name, const QString& text = QString(), bool recurse = true,
                      FileSearchJob* into = nullptr)
{
    SearchOptions options;
    options.startFolders = {folder};
    options.namePattern = name;
    options.contentText = text;
    options.recurse = recurse;
    FileSearchJob own(options);
    FileSearchJob& job = into ? *into : own;
    job.run();
    Paths paths;
    for (const SearchHit& hit : job.takeHits())
        paths << hit.path();
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The lines a program prints, sorted; empty lines left out.
inline Paths linesOf(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    Paths paths;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            paths << line;
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace SearchTree
