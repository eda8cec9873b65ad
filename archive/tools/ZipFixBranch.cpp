#include "archive/tools/ZipFixBranch.h"

#include "archive/TFolZipFix.h"
#include "archive/io/MappedFile.h"
#include "fileops/BatchLoop.h"
#include "archive/tools/PendingArchive.h"
#include "archive/tools/ZipBatchFailure.h"
#include "platform/FileName.h"
#include "platform/PathText.h"

#include <sys/stat.h>

namespace {

using Result = BatchItemResult;

Result fatal(const BatchItem& item, const QString& reason)
{
    ZipBatchFailure::set(QStringLiteral("Zip Fix stopped at ") + item.path + QStringLiteral(":\r\n") + reason);
    return {Result::Status::Fatal, QString(), reason};
}

QString targetFolder(const BatchItem& item)
{
    return PathText::withoutTrailingSlash(item.options->target);
}

bool exists(const QString& path)
{
    struct stat st {};
    return ::lstat(FileName::encode(path).constData(), &st) == 0;
}

// The first numbered target that is not there yet.
int firstFreeNumber(const BatchItem& item)
{
    int number = 1;
    while (exists(PathText::joined(targetFolder(item), ZipFixBranch::targetName(item.path, number))))
        ++number;
    return number;
}

// Repairs the archive into file; the report lines go to the progress dialog as they come.
bool repairInto(const BatchItem& item, QIODevice& file, QString* error)
{
    zipio::MappedFile input;
    if (!input.open(item.path)) {
        *error = input.errorString();
        return false;
    }
    ZipFixReport report;
    TFolZipFix fix;
    fix.OnFileFound = [&](TFolZipFix*, const QString& name, bool ok) { item.loop->setProgressText(report.fileFound(name, ok)); };
    fix.ShouldAbort = [&] { return item.loop->isCancelled(); };
    fix.InputDone = [&](uint64_t offset) { input.dropBefore(offset); };
    if (!fix.ReclaimZip(input.data(), input.size(), &file, input.fd())) {
        *error = fix.wasAborted() ? QString() : fix.errorString();
        return false;
    }
    item.loop->setProgressText(report.summary());
    return true;
}

Result run(const BatchItem& item)
{
    PendingArchive file(targetFolder(item));
    if (!file.create())
        return fatal(item, file.errorString());
    QString error;
    if (!repairInto(item, *file.device(), &error))
        return error.isEmpty() ? Result{} : fatal(item, error);
    const auto nameFor = [&item](int number) { return ZipFixBranch::targetName(item.path, number); };
    const QString target = file.commit(nameFor, firstFreeNumber(item));
    return target.isEmpty() ? fatal(item, file.errorString()) : Result{Result::Status::Done, target, QString()};
}

} // namespace

void ZipFixBranch::registerBranch()
{
    BatchBranch branch;
    branch.before = [](const QStringList&, const ConfirmResults&) {
        ZipBatchFailure::set(QString());
        return true;
    };
    branch.prepare = [](const BatchItem& item) { return PathText::joined(targetFolder(item), targetName(item.path, firstFreeNumber(item))); };
    branch.run = [](const BatchItem& item, const QString&) { return run(item); };
    BatchBranches::set(opZipFix, std::move(branch));
}

QString ZipFixBranch::targetName(const QString& archivePath, int number)
{
    const QString name = PathText::nameOf(archivePath);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = number > 1 ? QStringLiteral("_reclaimed(%1).zip").arg(number) : QStringLiteral("_reclaimed.zip");
    return (dot >= 0 ? name.left(dot) : name) + suffix;
}

QString ZipFixBranch::failure()
{
    return ZipBatchFailure::text();
}
