// The job shape and its runner: a job runs on a worker while the UI thread polls its
// progress, Cancel stops it between items, its questions reach a resolver on the UI thread
// with the facts needed to word them, and one error policy (retry, skip, abort) holds.
#include "platform/JobRunner.h"
#include "platform/JobWaiter.h"
#include "platform/TransferJob.h"

#include "support/TempHome.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <deque>
#include <thread>
#include <vector>

namespace {

// A job of count items of 100 bytes each; step does item i (false after fail(): it failed).
class StepJob final : public Job {
public:
    using Step = std::function<bool(StepJob&, int)>;
    StepJob(int count, Step step) : m_count(count), m_step(std::move(step)) {}

    void fail(const QString& message) { setError(message); }
    JobConflictChoice ask(const JobConflict& conflict) { return askConflict(conflict); }

    std::vector<int> runs; // every attempt, retries included
    std::atomic<QThread*> thread{nullptr};

protected:
    bool plan() override
    {
        addTotal(m_count, std::int64_t(m_count) * 100);
        return true;
    }
    void execute() override
    {
        thread = QThread::currentThread();
        for (int i = 0; i < m_count && !stopped(); ++i) {
            setCurrentItem(QString::number(i));
            const bool goOn = settleItem(QByteArray::number(i), [&] {
                runs.push_back(i);
                if (!m_step(*this, i))
                    return false;
                itemDone(100);
                return true;
            });
            if (!goOn)
                return;
        }
    }

private:
    int m_count;
    Step m_step;
};

// Answers from a script and records what it was asked and on which thread.
class ScriptedResolver final : public JobResolver {
public:
    std::deque<JobConflictChoice> conflictAnswers;
    std::deque<JobErrorChoice> errorAnswers;
    std::vector<JobConflict> conflicts;
    std::vector<JobError> errors;
    bool offUiThread = false;

    JobConflictChoice resolveConflict(const JobConflict& conflict) override
    {
        note();
        conflicts.push_back(conflict);
        return next(conflictAnswers, JobConflictChoice::Cancel);
    }
    JobErrorChoice resolveError(const JobError& error) override
    {
        note();
        errors.push_back(error);
        return next(errorAnswers, JobErrorChoice::Abort);
    }

private:
    void note() { offUiThread = offUiThread || QThread::currentThread() != qApp->thread(); }
    template <typename T>
    static T next(std::deque<T>& answers, T otherwise)
    {
        if (answers.empty())
            return otherwise;
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Runs the event loop until the runner's job has finished, calling onTick every few ms.
void runUntilFinished(JobRunner& runner, const std::function<void()>& onTick = {})
{
    QEventLoop loop;
    QObject::connect(&runner, &JobRunner::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    if (onTick)
        QObject::connect(&poll, &QTimer::timeout, onTick);
    poll.start(2);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // a hang fails below instead of blocking
    runner.start();
    loop.exec();
}

class JobRunnerTest : public TempHomeTest {};

TEST_F(JobRunnerTest, RunsOnAWorkerWhileTheUiThreadPollsProgress)
{
    StepJob job(20, [](StepJob&, int) {
        QThread::msleep(5);
        return true;
    });
    JobRunner runner(job);
    std::vector<JobProgress> seen;
    bool finishedOnUiThread = false;
    QObject::connect(&runner, &JobRunner::finished, [&] { finishedOnUiThread = QThread::currentThread() == qApp->thread(); });
    runUntilFinished(runner, [&] { seen.push_back(runner.progress()); });

    ASSERT_TRUE(runner.isFinished());
    EXPECT_TRUE(job.succeeded());
    EXPECT_TRUE(finishedOnUiThread);
    EXPECT_NE(job.thread.load(), qApp->thread());
    const JobProgress end = runner.progress();
    EXPECT_EQ(end.totalItems, 20);
    EXPECT_EQ(end.doneItems, 20);
    EXPECT_EQ(end.totalBytes, 2000);
    EXPECT_EQ(end.doneBytes, 2000);
    EXPECT_EQ(end.currentItem, QStringLiteral("19"));
    // The poll saw the job part-way, and its counters never went back.
    bool midway = false;
    for (size_t i = 0; i < seen.size(); ++i) {
        midway = midway || (seen[i].doneItems > 0 && seen[i].doneItems < 20);
        if (i > 0) {
            EXPECT_GE(seen[i].doneItems, seen[i - 1].doneItems);
        }
    }
    EXPECT_TRUE(midway);
}

TEST_F(JobRunnerTest, CancelStopsBetweenItems)
{
    std::atomic<bool> cancelled{false};
    StepJob job(10, [&](StepJob&, int i) {
        // Item 3 is at work when Cancel comes; it finishes, and item 4 never starts.
        for (int waited = 0; i == 3 && !cancelled && waited < 5000; ++waited)
            QThread::msleep(1);
        return true;
    });
    JobRunner runner(job);
    runUntilFinished(runner, [&] {
        if (!cancelled && runner.progress().currentItem == QStringLiteral("3")) {
            runner.cancel();
            cancelled = true;
        }
    });
    ASSERT_TRUE(runner.isFinished());
    EXPECT_EQ(job.runs, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(job.isCancelled());
    EXPECT_FALSE(job.succeeded());
    EXPECT_EQ(runner.progress().doneItems, 4);
}

// Item 1 fails on its first attempt only; the resolver decides what follows.
TEST_F(JobRunnerTest, OneErrorPolicyRetrySkipAbort)
{
    const struct {
        JobErrorChoice answer;
        std::vector<int> runs;
        bool succeeded;
        std::int64_t done;
    } cases[] = {
        {JobErrorChoice::Retry, {0, 1, 1, 2}, true, 3},
        {JobErrorChoice::Skip, {0, 1, 2}, true, 3},
        {JobErrorChoice::Abort, {0, 1}, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        int attempts = 0;
        StepJob job(3, [&](StepJob& self, int i) {
            if (i == 1 && attempts++ == 0) {
                self.fail(QStringLiteral("Cannot do item 1"));
                return false;
            }
            return true;
        });
        ScriptedResolver resolver;
        resolver.errorAnswers = {c.answer};
        JobRunner runner(job, &resolver);
        runUntilFinished(runner);
        ASSERT_TRUE(runner.isFinished());
        EXPECT_EQ(job.runs, c.runs);
        EXPECT_EQ(job.succeeded(), c.succeeded);
        EXPECT_EQ(job.errorString(), c.succeeded ? QString() : QStringLiteral("Cannot do item 1"));
        EXPECT_EQ(runner.progress().doneItems, c.done);
        ASSERT_EQ(resolver.errors.size(), 1u);
        EXPECT_EQ(resolver.errors[0].path, QByteArray("1"));
        EXPECT_EQ(resolver.errors[0].message, QStringLiteral("Cannot do item 1"));
        EXPECT_FALSE(resolver.offUiThread);
    }
}

class TransferConflictTest : public JobRunnerTest {
protected:
    void SetUp() override
    {
        JobRunnerTest::SetUp();
        m_src = makeFile(QStringLiteral("src/a.txt"), "new a");
        m_dst = makeFile(QStringLiteral("dst/a.txt"), "old");
        setTime(m_src, m_srcTime);
        setTime(m_dst, m_dstTime);
    }
    static void setTime(const QString& path, const QDateTime& time)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void checkConflict(const JobConflict& conflict)
    {
        EXPECT_EQ(conflict.kind, JobConflictKind::TargetExists);
        EXPECT_EQ(conflict.source, QFile::encodeName(m_src));
        EXPECT_EQ(conflict.existing, QFile::encodeName(m_dst));
        EXPECT_EQ(conflict.sourceSize, 5);
        EXPECT_EQ(conflict.existingSize, 3);
        EXPECT_EQ(conflict.sourceModified, m_srcTime);
        EXPECT_EQ(conflict.existingModified, m_dstTime);
    }

    QString m_src;
    QString m_dst;
    const QDateTime m_srcTime = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
    const QDateTime m_dstTime = QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5));
};

TEST_F(TransferConflictTest, TheReplaceQuestionCarriesBothFilesFacts)
{
    const struct {
        JobConflictChoice answer;
        QByteArray after;
        bool aborted;
    } cases[] = {
        {JobConflictChoice::Skip, "old", false},
        {JobConflictChoice::Cancel, "old", true},
        {JobConflictChoice::Proceed, "new a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        TransferJob job(FileOperationKind::Copy, {m_src}, {home().root() + QStringLiteral("/dst/")}, FileOperationFlag::Silent);
        ScriptedResolver resolver;
        resolver.conflictAnswers = {c.answer};
        JobRunner runner(job, &resolver);
        runUntilFinished(runner);
        ASSERT_TRUE(runner.isFinished());
        ASSERT_EQ(resolver.conflicts.size(), 1u);
        checkConflict(resolver.conflicts[0]);
        EXPECT_FALSE(resolver.offUiThread);
        EXPECT_EQ(job.result().aborted, c.aborted);
        EXPECT_EQ(contents(m_dst), c.after);
    }
}

// A batch item's work calls the synchronous API from a worker: the job runs there, and its
// question still reaches the resolver on the UI thread.
TEST_F(TransferConflictTest, RunJobOffTheUiThreadAsksOnTheUiThread)
{
    TransferJob job(FileOperationKind::Copy, {m_src}, {m_dst}, FileOperationFlag::Silent);
    ScriptedResolver resolver;
    resolver.conflictAnswers = {JobConflictChoice::Proceed};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        RunJob(job, QString(), &resolver);
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done)
            loop.quit();
    });
    poll.start(2);
    loop.exec();
    worker.join();
    ASSERT_EQ(resolver.conflicts.size(), 1u);
    checkConflict(resolver.conflicts[0]);
    EXPECT_FALSE(resolver.offUiThread);
    EXPECT_TRUE(job.result().ok());
    EXPECT_EQ(contents(m_dst), "new a");
}

// A runner going away while its job waits for an answer cancels the job instead of hanging,
// and the question is never shown afterwards.
TEST_F(JobRunnerTest, DestroyingTheRunnerAnswersAPendingQuestionWithCancel)
{
    std::atomic<bool> asking{false};
    JobConflictChoice answer = JobConflictChoice::Proceed;
    StepJob job(2, [&](StepJob& self, int) {
        asking = true;
        answer = self.ask(JobConflict{});
        return true;
    });
    ScriptedResolver resolver;
    {
        JobRunner runner(job, &resolver);
        runner.start();
        while (!asking)
            QThread::msleep(1);
    }
    QCoreApplication::processEvents(); // delivers the question posted before: it is dropped
    EXPECT_TRUE(job.isFinished());
    EXPECT_TRUE(job.isCancelled());
    EXPECT_EQ(answer, JobConflictChoice::Cancel);
    EXPECT_EQ(job.runs, std::vector<int>{0});
    EXPECT_TRUE(resolver.conflicts.empty());
}

} // namespace
