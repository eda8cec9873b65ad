#include "platform/JobRunner.h"

#include "platform/PromptResolver.h"

JobRunner::JobRunner(Job& job, JobResolver* resolver, QObject* parent)
    : QObject(parent), m_job(job), m_resolver(resolver ? *resolver : PromptResolver::instance())
{
    m_job.setResolver(&m_resolver);
}

JobRunner::~JobRunner()
{
    if (m_worker.joinable() && !m_job.isFinished()) {
        m_job.cancel();
        m_resolver.abandon();
    }
    joinWorker();
    m_job.setResolver(nullptr);
}

void JobRunner::start()
{
    if (m_started)
        return;
    m_started = true;
    m_worker = std::thread([this] {
        m_job.run();
        // Queued to this object: dropped when the runner is gone before it is delivered.
        QMetaObject::invokeMethod(this, [this] {
            joinWorker();
            emit finished();
        }, Qt::QueuedConnection);
    });
}

void JobRunner::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}
