#include "platform/Job.h"

JobResolver::~JobResolver() = default;

Job::~Job() = default;

void Job::run()
{
    if (plan() && !stopped())
        execute();
    m_finished = true;
}

JobProgress Job::progress() const
{
    JobProgress snapshot;
    snapshot.totalItems = m_totalItems;
    snapshot.doneItems = m_doneItems;
    snapshot.totalBytes = m_totalBytes;
    snapshot.doneBytes = m_doneBytes + m_itemBytes;
    QMutexLocker lock(&m_mutex);
    snapshot.currentItem = m_current;
    return snapshot;
}

QString Job::errorString() const
{
    QMutexLocker lock(&m_mutex);
    return m_error;
}

void Job::setError(const QString& message)
{
    QMutexLocker lock(&m_mutex);
    if (m_error.isEmpty())
        m_error = message;
}

bool Job::hasError() const
{
    QMutexLocker lock(&m_mutex);
    return !m_error.isEmpty();
}

void Job::addTotal(std::int64_t items, std::int64_t bytes)
{
    m_totalItems += items;
    m_totalBytes += bytes;
}

void Job::setCurrentItem(const QString& item)
{
    QMutexLocker lock(&m_mutex);
    m_current = item;
}

void Job::itemDone(std::int64_t bytes)
{
    m_doneBytes += bytes;
    m_itemBytes = 0;
    ++m_doneItems;
}

JobConflictChoice Job::askConflict(const JobConflict& conflict)
{
    const JobConflictChoice choice = m_resolver ? m_resolver->resolveConflict(conflict) : JobConflictChoice::Skip;
    if (choice == JobConflictChoice::Cancel)
        cancel();
    return choice;
}

bool Job::settleItem(const QByteArray& path, const std::function<bool()>& work)
{
    for (;;) {
        if (work())
            return true;
        const QString message = errorString();
        // An error settled by an inner item (an abort) is final for the outer ones too.
        if (isCancelled() || message.isEmpty() || m_errorFinal)
            return false;
        const JobErrorChoice choice = m_resolver ? m_resolver->resolveError({path, message}) : JobErrorChoice::Abort;
        if (choice == JobErrorChoice::Abort) {
            m_errorFinal = true;
            return false;
        }
        {
            QMutexLocker lock(&m_mutex);
            m_error.clear();
        }
        if (choice == JobErrorChoice::Skip) {
            itemDone();
            return true;
        }
    }
}
