// fvtool dupes DIR...: the duplicate pass of the file search over every file below the
// folders. Prints each group of files with equal bytes, one path per line in path order,
// with a blank line between groups; files that could not be read are named on stderr.
#include "Command.h"

#include "search/DuplicateJob.h"
#include "search/FileSearchJob.h"

#include <algorithm>
#include <cstdio>

namespace {

int runDupes(const QStringList& args)
{
    SearchOptions options;
    options.namePattern = QStringLiteral("*");
    options.details = false;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--"))) {
            fvtool::err(QStringLiteral("fvtool dupes: unexpected argument \"%1\"").arg(arg));
            return 2;
        }
        options.startFolders.append(arg);
    }
    if (options.startFolders.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool dupes DIR..."));
        return 2;
    }
    FileSearchJob search(options);
    search.run();
    std::vector<QByteArray> paths;
    for (const SearchHit& hit : search.takeHits())
        paths.push_back(hit.path());
    std::sort(paths.begin(), paths.end());
    DuplicateJob dupes(paths);
    dupes.run();
    bool first = true;
    for (const std::vector<int>& group : dupes.groups()) {
        if (!first)
            std::fputc('\n', stdout);
        first = false;
        for (int index : group) {
            const QByteArray line = paths[std::size_t(index)] + '\n';
            std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
        }
    }
    for (const QString& path : dupes.unreadableFiles())
        fvtool::err(QStringLiteral("Could not read %1").arg(path));
    return 0;
}

} // namespace

FVTOOL_COMMAND(dupes, "dupes DIR...", runDupes)
