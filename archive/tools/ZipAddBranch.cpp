#include "archive/tools/ZipAddBranch.h"

#include "archive/tools/ZipBatchFailure.h"
#include "archive/tools/ZipBatchKit.h"
#include "archive/tools/ZipWorkList.h"
#include "fileops/BatchLoop.h"
#include "platform/PathText.h"

#include <memory>

namespace {

// One zip batch: the archive opened with its first file, saved after its last.
struct ZipAddSession {
    std::unique_ptr<ZipBatchKit> engine;
    QString archive;
    bool opened = false;
};

QString stopped(const QString& archive, const QString& reason)
{
    ZipBatchFailure::set(QStringLiteral("Zip stopped at ") + archive + QStringLiteral(":\r\n") + reason);
    return QStringLiteral("ERROR on ") + archive;
}

BatchItemResult addFile(ZipAddSession& session, const BatchItem& item)
{
    TAbZipKit& kit = session.engine->kit();
    session.engine->attach(item.loop);
    if (!session.opened) {
        kit.BaseDirectory = PathText::folderOf(session.archive);
        if (!kit.setFileName(session.archive))
            return {BatchItemResult::Status::Fatal, QString(), stopped(session.archive, kit.errorString())};
        session.opened = true;
    }
    if (!kit.AddFiles(item.path, 0))
        return {BatchItemResult::Status::Fatal, QString(), stopped(session.archive, kit.errorString())};
    return {};
}

QString save(ZipAddSession& session, BatchLoop& loop, bool failed)
{
    TAbZipKit& kit = session.engine->kit();
    session.engine->attach(&loop);
    QString failure;
    if (session.opened && !failed && !loop.isCancelled()) {
        loop.setProgressText(QStringLiteral("Saving..."));
        // A save that Cancel aborts keeps the archive as it was before the batch.
        if (!kit.Save() && !loop.isCancelled())
            failure = stopped(session.archive, kit.errorString());
    }
    kit.CloseArchive();
    session.engine.reset();
    return failure;
}

} // namespace

void ZipAddBranch::registerBranch()
{
    auto session = std::make_shared<ZipAddSession>();
    BatchBranch branch;
    branch.before = [session](const QStringList&, const ConfirmResults& options) {
        ZipBatchFailure::set(QString());
        session->engine = std::make_unique<ZipBatchKit>(options);
        session->archive = PathText::withoutTrailingSlash(options.target);
        session->opened = false;
        return true;
    };
    branch.prepare = [session](const BatchItem&) { return ZipWorkList::stem(session->archive); };
    branch.run = [session](const BatchItem& item, const QString&) { return addFile(*session, item); };
    branch.finish = [session](BatchLoop& loop, bool failed) { return save(*session, loop, failed); };
    BatchBranches::set(opZip, std::move(branch));
}
