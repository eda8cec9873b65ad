// fvtool sync LEFT RIGHT [--must-exist] [--recurse]: brings two folders into line in both
// directions with the synchroniser's engine, the one the window runs, and prints its summary.
// Names that were not updated or were skipped go to stderr; the exit code is 1 when the run
// was refused or ended early, or a file could not be copied.
#include "Command.h"

#include "platform/FileName.h"
#include "platform/JobWaiter.h"
#include "sync/SyncJob.h"

namespace {

int runSync(const QStringList& args)
{
    SyncOptions options;
    QStringList folders;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--must-exist"))
            options.mustExist = true;
        else if (arg == QLatin1String("--recurse"))
            options.recurse = true;
        else if (arg.startsWith(QLatin1String("--"))) {
            fvtool::err(QStringLiteral("unknown option ") + arg);
            return 2;
        } else
            folders << arg;
    }
    if (folders.size() != 2) {
        fvtool::err(QStringLiteral("need a left and a right folder"));
        return 2;
    }
    SyncJob job({{FileName::encode(folders[0]), FileName::encode(folders[1])}}, options);
    RunJob(job);
    const SyncResult result = job.result();
    for (const SyncFailure& failure : result.failures)
        fvtool::err(FileName::decode(failure.path) + QStringLiteral(": ") + failure.message);
    if (!job.errorString().isEmpty())
        fvtool::err(job.errorString().replace(QLatin1String("\r\n"), QLatin1String(" ")));
    if (job.refused())
        return 1;
    for (const QString& line : SyncRules::summaryText(result.foldersCreated, result.filesUpdated, result.notUpdated)
                                   .split(QLatin1String("\r\n"), Qt::SkipEmptyParts))
        fvtool::out(line);
    if (result.skipped > 0)
        fvtool::out(QStringLiteral("Skipped ") + QString::number(result.skipped));
    return job.succeeded() && result.notUpdated == 0 ? 0 : 1;
}

} // namespace

FVTOOL_COMMAND(sync, "sync LEFT RIGHT [--must-exist] [--recurse]", runSync)
