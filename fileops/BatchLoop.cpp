#include "fileops/BatchLoop.h"

#include <QFileInfo>
#include <QHash>

#include <cmath>

namespace {

QHash<int, BatchBranch>& branches()
{
    static QHash<int, BatchBranch> table;
    return table;
}

} // namespace

BatchProgress::~BatchProgress() = default;

QString ActionNameOf(OperationCode code)
{
    const QStringList& names = ConfirmActions::actionNames();
    return code < names.size() ? names[code] : QString();
}

void BatchBranches::set(OperationCode code, BatchBranch branch)
{
    branches().insert(code, std::move(branch));
}

void BatchBranches::clear(OperationCode code)
{
    branches().remove(code);
}

const BatchBranch* BatchBranches::find(OperationCode code)
{
    const auto it = branches().constFind(code);
    return it == branches().constEnd() ? nullptr : &it.value();
}

QString FileCountText(qsizetype count)
{
    return QString::number(count) + (count < 2 ? QStringLiteral(" file") : QStringLiteral(" files"));
}

BatchEnd ConvertFilesShow(BatchProgress& progress, OperationCode code, const QStringList& work, const ConfirmResults& options)
{
    const BatchBranch* branch = BatchBranches::find(code);
    if (!branch || !branch->run)
        return BatchEnd::Failed; // an operation without its branch ends like an error
    if (branch->before && !branch->before(work, options))
        return BatchEnd::Failed;
    const int count = int(work.size());
    for (int i = 0; i < count; ++i) {
        const BatchItem item{i, count, work[i], &options, &progress};
        const QString newName = branch->prepare ? branch->prepare(item) : QString();
        progress.setAction(ActionNameOf(code));
        progress.setListNames(QString::number(i + 1) + QStringLiteral(" of ") + QString::number(count) + QLatin1Char(' ')
                              + QFileInfo(item.path).fileName());
        progress.setProgressText(item.path + QStringLiteral(" to ") + QStringLiteral("\r\n") + newName);
        if (progress.cancelled())
            return BatchEnd::Cancelled;
        const BatchItemResult result = branch->run(item, newName);
        if (result.status == BatchItemResult::Status::Fatal)
            return BatchEnd::Failed;
        if (result.status == BatchItemResult::Status::Failed)
            progress.setItemText(result.errorLine);
        progress.setOverall(int(std::lround(double(i) / count * 100.0)));
        progress.processEvents();
    }
    return BatchEnd::Done;
}
