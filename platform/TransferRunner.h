#pragma once
// Runs a TransferJob to its end for a caller that sees one synchronous call. The engine's own
// runner works on a worker thread under a local event loop (or inline without an application
// object); the program installs the runner with the progress dialog (platform/ui).

#include "platform/TransferJob.h"

class TransferRunner {
public:
    virtual ~TransferRunner();
    // Returns when the job has finished. showProgress is false for silent operations.
    virtual void run(TransferJob& job, bool showProgress) = 0;

    static TransferRunner& instance();
    static void setInstance(TransferRunner* runner);

protected:
    // Runs the job on a worker thread; calls wait() on this thread until the job is done. The
    // job's questions are answered on this thread meanwhile (wait must run an event loop).
    static void runOnWorker(TransferJob& job, const std::function<void()>& wait);
};
