#pragma once
// How a caller that must see one synchronous call waits for a job (the file operation API,
// which many commands use). The engine's waiter runs a local event loop that leaves user
// input alone; the program installs one that shows a progress window on long work
// (platform/ui/TransferProgressDialog). New features start a JobRunner instead and go on.

#include "platform/JobRunner.h"

class JobWaiter {
public:
    virtual ~JobWaiter();
    // Starts runner and returns once its job has finished. title: the progress window's
    // caption; empty for silent work, which shows no window.
    virtual void wait(JobRunner& runner, const QString& title) = 0;

    static JobWaiter& instance();
    static void setInstance(JobWaiter* waiter); // nullptr: the engine's waiter again

protected:
    // Starts runner and runs a local event loop until its job has finished or timeoutMs
    // have passed (-1: no limit); true when it has finished. The caller's API is synchronous,
    // yet the job's questions must be answered on this thread and windows must keep painting
    // meanwhile; user input stays queued, so no other command starts while this one waits.
    static bool waitInLoop(JobRunner& runner, int timeoutMs = -1);
};

// Runs job to its end and returns then. On the UI thread the job runs on a worker under the
// installed waiter; on any other thread (a batch item's work, a command-line tool without an
// application object) it runs on the calling thread. Either way questions go to resolver
// on the UI thread (nullptr: the Prompter's wording).
void RunJob(Job& job, const QString& title = QString(), JobResolver* resolver = nullptr);
