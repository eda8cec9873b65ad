#pragma once
// A job's way back from a worker thread to the object that started it: results are posted
// to that object's thread as queued calls, and go nowhere once the job was cancelled or the
// object is gone. Cancelling is checked again when a posted call runs, so that nothing a
// job sent before its cancel reaches the object after it.
//
// The jobs run on one pool of their own (pool()), apart from Qt's global pool: a job stuck in
// the kernel on a dead mount keeps only its own thread.

#include <QCoreApplication>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <mutex>

class WorkerLink : public std::enable_shared_from_this<WorkerLink> {
public:
    explicit WorkerLink(QObject* receiver)
        : m_receiver(receiver)
    {
    }

    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }

    // Called by the receiver as it goes: nothing is posted after this returns.
    void detach()
    {
        cancel();
        std::lock_guard lock(m_mutex);
        m_receiver = nullptr;
    }

    // Runs call() on the receiver's thread, unless cancelled by then.
    template <typename Call>
    void post(Call call)
    {
        std::lock_guard lock(m_mutex);
        if (!m_receiver || isCancelled())
            return;
        QMetaObject::invokeMethod(
            m_receiver,
            [self = shared_from_this(), call = std::move(call)]() mutable {
                if (!self->isCancelled())
                    call();
            },
            Qt::QueuedConnection);
    }

    static QThreadPool& pool()
    {
        static QThreadPool* pool = [] {
            // Never destroyed, and waited for at exit only a moment (cancelled jobs stop at
            // their next check): exit must not hang on a dead mount.
            auto* p = new QThreadPool;
            p->setMaxThreadCount(8);
            qAddPostRoutine([] { WorkerLink::pool().waitForDone(1000); });
            return p;
        }();
        return *pool;
    }

private:
    std::mutex m_mutex;
    QObject* m_receiver;
    std::atomic<bool> m_cancelled{false};
};
