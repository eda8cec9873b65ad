#include "platform/FileOperation.h"

#include "platform/JobWaiter.h"
#include "platform/Prompter.h"
#include "platform/TransferJob.h"
#include "platform/UiThread.h"

#include <QFileInfo>

namespace {

QString deleteQuestion(const QStringList& sources, bool toTrash)
{
    const QString one = QStringLiteral("\"") + QFileInfo(sources.first()).fileName() + QStringLiteral("\"");
    const QString many = QString::number(sources.size()) + QStringLiteral(" items");
    if (toTrash)
        return QStringLiteral("Move ") + (sources.size() == 1 ? one : many) + QStringLiteral(" to the Trash?");
    return QStringLiteral("Permanently delete ") + (sources.size() == 1 ? one : many) + QStringLiteral("?\r\n")
        + (sources.size() == 1 ? QStringLiteral("It cannot be restored.") : QStringLiteral("They cannot be restored."));
}

// The progress window's caption.
QString titleOf(FileOperationKind kind)
{
    switch (kind) {
    case FileOperationKind::Copy: return QStringLiteral("Copying...");
    case FileOperationKind::Move: return QStringLiteral("Moving...");
    case FileOperationKind::Delete: return QStringLiteral("Deleting...");
    case FileOperationKind::Rename: return QStringLiteral("Renaming...");
    }
    return QString();
}

class EngineFileOperations final : public FileOperationService {
public:
    FileOperationResult run(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                            FileOperationFlags flags) override;
};

EngineFileOperations engine;
FileOperationService* currentService = &engine;

} // namespace

FileOperationService::~FileOperationService() = default;

FileOperationService& FileOperationService::instance()
{
    return *currentService;
}

void FileOperationService::setInstance(FileOperationService* service)
{
    currentService = service ? service : &engine;
}

FileOperationResult RunFileOperation(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                                     FileOperationFlags flags)
{
    return FileOperationService::instance().run(kind, sources, targets, flags);
}

FileOperationResult EngineFileOperations::run(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                                              FileOperationFlags flags)
{
    // Batch items call this from a worker; the boxes belong to the UI thread.
    FileOperationResult result;
    if (kind == FileOperationKind::Delete && !sources.isEmpty()) {
        const bool toTrash = flags.testFlag(FileOperationFlag::AllowUndo);
        PromptButton answer = PromptButton::None;
        RunOnUiThread([&] {
            answer = Prompter::instance().ask(PromptKind::Confirmation, PromptButton::Yes | PromptButton::No,
                                              deleteQuestion(sources, toTrash), QStringLiteral("Confirm Delete"));
        });
        if (answer != PromptButton::Yes) {
            result.aborted = true;
            return result;
        }
    }
    TransferJob job(kind, sources, targets, flags);
    RunJob(job, flags.testFlag(FileOperationFlag::Silent) ? QString() : titleOf(kind));
    result = job.result();
    if (!result.error.isEmpty())
        RunOnUiThread([&] { Prompter::instance().error(result.error); });
    return result;
}

bool RunTransfer(FileOperationKind kind, const QStringList& sources, const QStringList& targets, FileOperationFlags flags)
{
    return RunFileOperation(kind, sources, targets, flags).ok();
}

QString ToPathList(const QStringList& paths)
{
    QString list;
    for (const QString& path : paths)
        list += path + QChar(0);
    return list + QChar(0);
}

QStringList FromPathList(const QString& pathList)
{
    QStringList paths;
    for (const QString& path : pathList.split(QChar(0))) {
        if (path.isEmpty())
            break;
        paths << path;
    }
    return paths;
}
