#pragma once
// The waiter the program installs (InstallPlatformUi): a job that a caller waits for shows
// the progress window once it has run for half a second, unless it is silent.

#include "platform/JobWaiter.h"

class ProgressWindowWaiter final : public JobWaiter {
public:
    // Delay before the window appears.
    static constexpr int kShowDelayMs = 500;
    void wait(JobRunner& runner, const QString& title) override;
};
