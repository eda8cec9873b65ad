#include "platform/JobWaiter.h"

#include "platform/PromptResolver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

// Shows nothing: the engine without windows (command-line tools, tests of the engine).
class LoopWaiter final : public JobWaiter {
public:
    void wait(JobRunner& runner, const QString&) override { waitInLoop(runner); }
};

LoopWaiter loopWaiter;
JobWaiter* currentWaiter = &loopWaiter;

} // namespace

JobWaiter::~JobWaiter() = default;

JobWaiter& JobWaiter::instance()
{
    return *currentWaiter;
}

void JobWaiter::setInstance(JobWaiter* waiter)
{
    currentWaiter = waiter ? waiter : &loopWaiter;
}

bool JobWaiter::waitInLoop(JobRunner& runner, int timeoutMs)
{
    QEventLoop loop;
    QObject::connect(&runner, &JobRunner::finished, &loop, &QEventLoop::quit);
    if (timeoutMs >= 0)
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    runner.start();
    if (!runner.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return runner.isFinished();
}

void RunJob(Job& job, const QString& title, JobResolver* resolver)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        JobRunner runner(job, resolver);
        JobWaiter::instance().wait(runner, title);
        return;
    }
    UiThreadResolver forward(resolver ? *resolver : PromptResolver::instance());
    job.setResolver(&forward);
    job.run();
    job.setResolver(nullptr);
}
