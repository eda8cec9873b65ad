#include "archive/tools/ZipToExeBranch.h"

#include "archive/TAbZipKit.h"
#include "archive/tools/ZipBatchFailure.h"
#include "archive/tools/ZipWorkList.h"
#include "fileops/BatchLoop.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QMutex>

#include <atomic>

namespace {

struct StubChoice {
    QMutex mutex;
    QString folder;
    bool small = false;
};

StubChoice& stubChoice()
{
    static StubChoice choice;
    return choice;
}

// Whether the item may write target: free, or the user agreed to replace it.
bool mayWrite(const QString& target, std::atomic<bool>& replaceAll)
{
    if (replaceAll || !LocalFiles::exists(target))
        return true;
    PromptButton answer = PromptButton::No;
    RunOnUiThread([&] {
        answer = Prompter::instance().ask(PromptKind::Confirmation, PromptButton::Yes | PromptButton::No | PromptButton::YesToAll,
                                          target + QStringLiteral(" exists, overwrite?"));
    });
    if (answer == PromptButton::YesToAll)
        replaceAll = true;
    return answer != PromptButton::No;
}

BatchItemResult makeProgram(const BatchItem& item, const QString& target, std::atomic<bool>& replaceAll)
{
    if (!mayWrite(target, replaceAll))
        return {};
    TAbZipKit kit;
    if (kit.MakeSelfExtracting(ZipToExeBranch::stubPath(), item.path, target))
        return {BatchItemResult::Status::Done, target, QString()};
    const QString line = QStringLiteral("ERROR on ") + item.path;
    ZipBatchFailure::append(line + QStringLiteral(": ") + kit.errorString());
    return {BatchItemResult::Status::Failed, QString(), line};
}

} // namespace

void ZipToExeBranch::registerBranch()
{
    auto replaceAll = std::make_shared<std::atomic<bool>>(false);
    BatchBranch branch;
    branch.before = [replaceAll](const QStringList&, const ConfirmResults&) {
        ZipBatchFailure::set(QString());
        *replaceAll = false;
        return true;
    };
    branch.prepare = [](const BatchItem& item) { return targetPath(item.options->target, item.path); };
    branch.run = [replaceAll](const BatchItem& item, const QString& target) { return makeProgram(item, target, *replaceAll); };
    BatchBranches::set(opZipToExe, std::move(branch));
}

void ZipToExeBranch::setSmallStub(bool small)
{
    QMutexLocker lock(&stubChoice().mutex);
    stubChoice().small = small;
}

void ZipToExeBranch::setStubFolder(const QString& folder)
{
    QMutexLocker lock(&stubChoice().mutex);
    stubChoice().folder = folder;
}

QString ZipToExeBranch::stubPath()
{
    QMutexLocker lock(&stubChoice().mutex);
    const QString folder = stubChoice().folder.isEmpty() ? QCoreApplication::applicationDirPath() : stubChoice().folder;
    return PathText::joined(folder, stubChoice().small ? QStringLiteral("fv3smallstub.exe") : QStringLiteral("fv3selfstub.exe"));
}

QString ZipToExeBranch::targetPath(const QString& folder, const QString& archivePath)
{
    return PathText::joined(PathText::withoutTrailingSlash(folder), ZipWorkList::stem(archivePath) + QStringLiteral(".exe"));
}
