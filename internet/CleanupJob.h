#pragma once
// One clean-up step as a job, so that the Cleanup window stays painted and answers while
// the Trash or the temporary folder is emptied on a worker.

#include "internet/CleanupSteps.h"
#include "platform/Job.h"

class CleanupJob : public Job {
public:
    explicit CleanupJob(CleanupStep step)
        : m_step(step)
    {
    }

    CleanupStep step() const { return m_step; }

protected:
    bool plan() override;
    void execute() override;

private:
    CleanupStep m_step;
};
