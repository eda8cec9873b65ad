#pragma once
// Runs one job on a worker thread for a window that stays responsive: the window polls
// progress() with a timer, Cancel calls cancel(), the job's questions are answered by the
// resolver on the runner's (UI) thread while the worker waits, and finished() is emitted on
// that thread once the job has ended. A runner runs its job once.
//
// Adding a kind of long work: derive from Job (plan() walks the input into items and totals
// them, execute() does the items checking stopped() between them and settleItem() around
// each, askConflict() for questions), then either start it here and connect finished(), or
// let a synchronous caller wait for it with RunJob (platform/JobWaiter.h).

#include "platform/Job.h"
#include "platform/UiThreadResolver.h"

#include <QObject>

#include <thread>

class JobRunner final : public QObject {
    Q_OBJECT
public:
    // resolver answers on this thread; nullptr: the Prompter's wording (PromptResolver).
    explicit JobRunner(Job& job, JobResolver* resolver = nullptr, QObject* parent = nullptr);
    // Cancels a job still running, answers its pending question with Cancel and waits for it.
    ~JobRunner() override;

    void start();
    void cancel() { m_job.cancel(); }
    bool isStarted() const { return m_started; }
    bool isFinished() const { return m_job.isFinished(); }
    JobProgress progress() const { return m_job.progress(); }
    Job& job() { return m_job; }

signals:
    // The job has ended (done, failed or cancelled); its result can be read.
    void finished();

private:
    void joinWorker();

    Job& m_job;
    UiThreadResolver m_resolver;
    std::thread m_worker;
    bool m_started = false;
};
