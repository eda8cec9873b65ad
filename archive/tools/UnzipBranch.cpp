#include "archive/tools/UnzipBranch.h"

#include "archive/tools/ZipBatchFailure.h"
#include "archive/tools/ZipBatchKit.h"
#include "fileops/BatchLoop.h"
#include "platform/PathText.h"

#include <memory>

namespace {

// Problems listed in the closing message; the rest are counted.
constexpr int kListedProblems = 10;

BatchItemResult stop(const BatchItem& item, const QString& reason, const QStringList& problems = {})
{
    QString text = QStringLiteral("Unzip stopped at ") + item.path + QStringLiteral(":\r\n") + reason;
    for (qsizetype i = 0; i < problems.size() && i < kListedProblems; ++i)
        text += QStringLiteral("\r\n") + problems[i];
    if (problems.size() > kListedProblems)
        text += QStringLiteral("\r\n... and %1 more").arg(problems.size() - kListedProblems);
    ZipBatchFailure::set(text);
    return {BatchItemResult::Status::Fatal, QString(), reason};
}

BatchItemResult extract(ZipBatchKit& engine, const BatchItem& item, const QString& folder)
{
    TAbZipKit& kit = engine.kit();
    engine.attach(item.loop);
    kit.BaseDirectory = folder;
    if (!kit.setFileName(item.path))
        return stop(item, kit.errorString());
    const bool ok = kit.ExtractFilesEx(QStringLiteral("*.*"), PathText::nameOf(item.path));
    const QString error = kit.errorString();
    const QStringList problems = kit.problems();
    kit.CloseArchive();
    if (ok || item.loop->isCancelled())
        return {};
    return stop(item, error, problems);
}

} // namespace

void UnzipBranch::registerBranch()
{
    auto engine = std::make_shared<std::unique_ptr<ZipBatchKit>>();
    BatchBranch branch;
    branch.before = [engine](const QStringList&, const ConfirmResults& options) {
        ZipBatchFailure::set(QString());
        *engine = std::make_unique<ZipBatchKit>(options);
        return true;
    };
    branch.prepare = [](const BatchItem& item) { return PathText::withoutTrailingSlash(item.options->target); };
    branch.run = [engine](const BatchItem& item, const QString& folder) { return extract(**engine, item, folder); };
    branch.finish = [engine](BatchLoop&, bool) {
        engine->reset();
        return QString();
    };
    BatchBranches::set(opUnzip, std::move(branch));
}
