#include "platform/TransferRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <thread>

namespace {

// Waits under a local event loop that leaves user input alone.
class PlainRunner final : public TransferRunner {
public:
    void run(TransferJob& job, bool) override
    {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread()) {
            job.run();
            return;
        }
        QEventLoop loop;
        job.setOnFinished([&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
        runOnWorker(job, [&] {
            if (!job.isFinished())
                loop.exec(QEventLoop::ExcludeUserInputEvents);
        });
    }
};

PlainRunner plainRunner;
TransferRunner* currentRunner = &plainRunner;

} // namespace

TransferRunner::~TransferRunner() = default;

TransferRunner& TransferRunner::instance()
{
    return *currentRunner;
}

void TransferRunner::setInstance(TransferRunner* runner)
{
    currentRunner = runner ? runner : &plainRunner;
}

void TransferRunner::runOnWorker(TransferJob& job, const std::function<void()>& wait)
{
    std::thread worker([&job] { job.run(); });
    wait();
    worker.join();
}
