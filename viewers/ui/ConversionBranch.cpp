#include "viewers/ui/ConversionBranch.h"

#include "fileops/BatchLoop.h"
#include "platform/PromptResolver.h"
#include "platform/UiThread.h"
#include "viewers/image/PictureConverter.h"

#include <QMutex>

#include <memory>

namespace {

using Result = BatchItemResult;

// A batch sets it up on the UI thread, its items use it on the loop's worker, and the window
// reads the lines once the batch has ended.
struct BatchState {
    QMutex mutex;
    std::unique_ptr<PictureConverter> converter;
    QStringList messages;
    int written = 0;
};

BatchState& state()
{
    static BatchState batch;
    return batch;
}

JobConflictChoice askOnUiThread(const JobConflict& conflict)
{
    JobConflictChoice choice = JobConflictChoice::Cancel;
    RunOnUiThread([&] { choice = PromptResolver::instance().resolveConflict(conflict); });
    return choice;
}

Result run(const BatchItem& item, const QString& newName)
{
    BatchState& batch = state();
    QMutexLocker lock(&batch.mutex);
    QStringList lines;
    const PictureConverter::Outcome outcome = batch.converter->convert(item.path, lines);
    batch.messages << lines;
    switch (outcome) {
    case PictureConverter::Outcome::Written:
        ++batch.written;
        return {Result::Status::Done, newName, QString()};
    case PictureConverter::Outcome::Failed:
        return {Result::Status::Failed, QString(), lines.isEmpty() ? QString() : lines.last()};
    case PictureConverter::Outcome::Cancelled:
        item.loop->cancel();
        break;
    case PictureConverter::Outcome::Kept:
        break;
    }
    return {};
}

BatchBranch branchFor(const Conversion& conversion)
{
    BatchBranch branch;
    branch.before = [conversion](const QStringList&, const ConfirmResults& options) {
        BatchState& batch = state();
        QMutexLocker lock(&batch.mutex);
        batch.converter = std::make_unique<PictureConverter>(conversion, options.target, askOnUiThread);
        batch.messages.clear();
        batch.written = 0;
        return true;
    };
    branch.prepare = [](const BatchItem& item) {
        BatchState& batch = state();
        QMutexLocker lock(&batch.mutex);
        return batch.converter->outputOf(item.path);
    };
    branch.run = run;
    return branch;
}

} // namespace

void ConversionBranch::registerBranches()
{
    int code = opBmpToJpg;
    for (const Conversion& conversion : PictureConverter::conversions())
        BatchBranches::set(OperationCode(code++), branchFor(conversion));
}

QStringList ConversionBranch::messages()
{
    BatchState& batch = state();
    QMutexLocker lock(&batch.mutex);
    return batch.messages;
}

int ConversionBranch::written()
{
    BatchState& batch = state();
    QMutexLocker lock(&batch.mutex);
    return batch.written;
}
