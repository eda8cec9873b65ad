#pragma once
// The program's resolver: words a job's conflicts as the questions the user knows and asks
// them through the Prompter (on the thread it is called on: JobRunner calls it on the UI
// thread). An error is not asked about: the job ends and its caller reports it once.

#include "platform/Job.h"

class PromptResolver final : public JobResolver {
public:
    JobConflictChoice resolveConflict(const JobConflict& conflict) override;
    JobErrorChoice resolveError(const JobError& error) override;

    // The one the runners use when given none.
    static PromptResolver& instance();
};
