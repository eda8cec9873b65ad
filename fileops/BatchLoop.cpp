#include "fileops/BatchLoop.h"

#include "platform/UiThread.h"

#include <QFileInfo>
#include <QHash>

#include <cmath>

namespace {

// Registered at start-up and by tests, on the UI thread, never while a batch runs; a batch
// works on its own copy of its branch.
QHash<int, BatchBranch>& branches()
{
    static QHash<int, BatchBranch> table;
    return table;
}

} // namespace

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

BatchLoop::BatchLoop(OperationCode code, QStringList work, ConfirmResults options)
    : m_code(code), m_work(std::move(work)), m_options(std::move(options))
{
    if (const BatchBranch* branch = BatchBranches::find(code))
        m_branch = *branch;
}

BatchEnd BatchLoop::end() const
{
    if (!errorString().isEmpty())
        return BatchEnd::Failed;
    return isCancelled() ? BatchEnd::Cancelled : BatchEnd::Done;
}

BatchLabels BatchLoop::labels() const
{
    QMutexLocker lock(&m_labelsMutex);
    return m_labels;
}

void BatchLoop::publish(const std::function<void(BatchLabels&)>& change)
{
    QMutexLocker lock(&m_labelsMutex);
    change(m_labels);
    ++m_labels.serial;
}

void BatchLoop::setItemPercent(int percent)
{
    publish([percent](BatchLabels& labels) { labels.item = percent; });
}

void BatchLoop::setProgressText(const QString& text)
{
    publish([&text](BatchLabels& labels) { labels.progressText = text; });
}

void BatchLoop::setItemText(const QString& text)
{
    publish([&text](BatchLabels& labels) { labels.itemText = text; });
}

void BatchLoop::setOverallPercent(int percent)
{
    publish([percent](BatchLabels& labels) { labels.overall = percent; });
}

bool BatchLoop::plan()
{
    const QString caption = BatchActionOf(m_code).captionText();
    if (!m_branch.run) {
        setError(caption + QStringLiteral(": this action is not available."));
        return false;
    }
    bool go = true;
    if (m_branch.before)
        RunOnUiThread([&] { go = m_branch.before(m_work, m_options); });
    if (!go) {
        setError(caption + QStringLiteral(": stopped before the first item."));
        return false;
    }
    addTotal(m_work.size());
    return true;
}

void BatchLoop::execute()
{
    runItems();
    if (!m_branch.finish)
        return;
    const QString failure = m_branch.finish(*this, hasError());
    if (!failure.isEmpty())
        setError(failure);
}

void BatchLoop::runItems()
{
    const QString action = BatchActionOf(m_code).captionText();
    const int count = int(m_work.size());
    for (int i = 0; i < count; ++i) {
        const BatchItem item{i, count, m_work[i], &m_options, this};
        const QString newName = m_branch.prepare ? m_branch.prepare(item) : QString();
        setCurrentItem(item.path);
        publish([&](BatchLabels& labels) {
            labels.action = action;
            labels.listNames = QString::number(i + 1) + QStringLiteral(" of ") + QString::number(count) + QLatin1Char(' ')
                + QFileInfo(item.path).fileName();
            labels.progressText = item.path + QStringLiteral(" to ") + QStringLiteral("\r\n") + newName;
        });
        if (isCancelled())
            return;
        const BatchItemResult result = m_branch.run(item, newName);
        if (result.status == BatchItemResult::Status::Fatal) {
            setError(QStringLiteral("ERROR on ") + item.path);
            return;
        }
        itemDone();
        publish([&](BatchLabels& labels) {
            if (result.status == BatchItemResult::Status::Failed)
                labels.itemText = result.errorLine;
            labels.overall = int(std::lround(double(i) / count * 100.0));
        });
    }
}
