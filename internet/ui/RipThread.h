#pragma once
// A RipRun on a worker thread of its own, so that the downloads' disk writes never run on
// the window's thread. post() hands work to the run on its thread; the run's signals reach
// receivers on the window's thread queued. The thread is stopped (halting the run) when the
// object goes.

#include "internet/RipRun.h"

#include <QObject>
#include <QThread>

#include <functional>

class RipThread : public QObject {
    Q_OBJECT
public:
    explicit RipThread(QObject* parent = nullptr);
    ~RipThread() override;

    // The run, for connecting its signals (never call it directly from this thread).
    RipRun* run() const { return m_run; }
    void post(std::function<void(RipRun&)> work);

private:
    QThread m_thread;
    RipRun* m_run = nullptr;
};
