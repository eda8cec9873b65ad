#pragma once
// Passes a job's questions from the thread that runs it to a resolver on the UI thread, and
// waits for the answers there. Once abandoned (the job's owner is going away), questions not
// yet shown are answered Cancel and Abort without asking.

#include "platform/Job.h"

class UiThreadResolver final : public JobResolver {
public:
    explicit UiThreadResolver(JobResolver& target) : m_target(target) {}

    JobConflictChoice resolveConflict(const JobConflict& conflict) override;
    JobErrorChoice resolveError(const JobError& error) override;

    void abandon() { m_abandoned = true; }

private:
    JobResolver& m_target;
    std::atomic<bool> m_abandoned{false};
};
