// fvtool search (also: fvtool find): the file search dialog's engine. Prints the path of
// every hit, one per line with its own bytes, as the hits arrive; files whose content could
// not be checked are named on stderr.
#include "Command.h"

#include "platform/FileName.h"
#include "search/FileSearchJob.h"

#include <cstdio>
#include <optional>

namespace {

const char* const kUsage = "search DIR [--name PATTERN] [--text TEXT] [--no-recurse] [--all-fixed]";

std::optional<SearchOptions> parse(const QStringList& args)
{
    SearchOptions options;
    options.namePattern = QStringLiteral("*");
    options.details = false;
    bool allFixed = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--name") && hasValue) {
            options.namePattern = args[++i];
        } else if (arg == QLatin1String("--text") && hasValue) {
            options.contentText = args[++i];
        } else if (arg == QLatin1String("--no-recurse")) {
            options.recurse = false;
        } else if (arg == QLatin1String("--all-fixed")) {
            allFixed = true;
        } else if (!arg.startsWith(QLatin1String("--")) && options.startFolders.isEmpty()) {
            options.startFolders.append(arg);
        } else {
            fvtool::err(QStringLiteral("fvtool search: unexpected argument \"%1\"").arg(arg));
            return std::nullopt;
        }
    }
    if (allFixed)
        options.startFolders = FileSearchJob::fixedDriveRoots();
    if (options.startFolders.isEmpty() || options.namePattern.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool ") + QLatin1String(kUsage));
        return std::nullopt;
    }
    return options;
}

int runSearch(const QStringList& args)
{
    const std::optional<SearchOptions> options = parse(args);
    if (!options)
        return 2;
    FileSearchJob job(*options);
    job.setHitSink([](std::vector<SearchHit>& hits) {
        for (const SearchHit& hit : hits) {
            const QByteArray line = hit.path() + '\n';
            std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
        }
    });
    job.run();
    for (const QString& path : job.uncheckedFiles())
        fvtool::err(FileSearchJob::uncheckedMessage(path, options->contentText));
    if (!job.errorString().isEmpty()) {
        fvtool::err(job.errorString());
        return 1;
    }
    return 0;
}

} // namespace

FVTOOL_COMMAND(search, kUsage, runSearch)
FVTOOL_COMMAND(find, "find DIR [--name PATTERN] [--text TEXT] [--no-recurse] [--all-fixed] (the same as search)", runSearch)
