// fvtool cleanup: the clean-up's steps one by one, as the Cleanup window runs them: trash
// (every Trash), cache and history (the web pane's folders), temp (the temporary folder,
// or DIR with the same refusals and walk), recent (the recently-used list); trash TRASHDIR
// empties that one trash folder only.
#include "Command.h"

#include "internet/CleanupSteps.h"
#include "platform/TempFolderCleaner.h"
#include "platform/Trash.h"

#include <algorithm>

namespace {

const std::pair<const char*, CleanupStep> kSteps[] = {
    {"trash", CleanupStep::RecycleBin},        {"cache", CleanupStep::InternetCache},
    {"history", CleanupStep::InternetHistory}, {"temp", CleanupStep::TemporaryFiles},
    {"recent", CleanupStep::RecentDocuments},
};

int runTemp(const QString& folder)
{
    TempCleanCounts counts;
    const Status emptied = TempFolderCleaner::empty(folder, &counts);
    fvtool::out(QStringLiteral("deleted %1, kept %2, failed %3").arg(counts.deleted).arg(counts.kept).arg(counts.failed));
    if (!emptied)
        fvtool::err(emptied.errorString());
    return emptied ? 0 : 1;
}

int runTrashFolder(const QString& folder)
{
    const Status emptied = Trash::emptyFolder(folder);
    if (!emptied)
        fvtool::err(emptied.errorString());
    return emptied ? 0 : 1;
}

int runCleanup(const QStringList& args)
{
    if (args.size() == 2 && args.first() == QLatin1String("temp"))
        return runTemp(args.at(1));
    if (args.size() == 2 && args.first() == QLatin1String("trash"))
        return runTrashFolder(args.at(1));
    if (args.isEmpty())
        return 2;
    int code = 0;
    for (const QString& arg : args) {
        const auto* found = std::find_if(std::begin(kSteps), std::end(kSteps), [&arg](const auto& s) { return arg == QLatin1String(s.first); });
        if (found == std::end(kSteps)) {
            fvtool::err(QStringLiteral("unknown step: ") + arg);
            return 2;
        }
        const Status done = CleanupSteps::run(found->second);
        fvtool::out(QString::fromLatin1(done ? CleanupSteps::texts(found->second).done : CleanupSteps::texts(found->second).resting)
                    + (done ? QString() : QStringLiteral(": ") + done.errorString()));
        if (!done)
            code = 1;
    }
    return code;
}

} // namespace

FVTOOL_COMMAND(cleanup, "cleanup trash|cache|history|temp|recent... | cleanup temp DIR | cleanup trash TRASHDIR: run clean-up steps", runCleanup)
