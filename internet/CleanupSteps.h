#pragma once
// The clean-up's six steps, in the order they run, with the texts the Cleanup window shows
// for each (at rest, while running, when done), the question asked first, and the work of
// the steps that need no window (run off the UI thread by CleanupJob). The web pane's own
// steps (its cache and history while its engine runs, the address list) are the window's.

#include "platform/Status.h"

#include <QString>

enum class CleanupStep { RecycleBin, InternetCache, InternetHistory, TemporaryFiles, RecentDocuments, BrowserAddresses };
constexpr int kCleanupStepCount = int(CleanupStep::BrowserAddresses) + 1;

struct CleanupStepTexts {
    const char* resting;
    const char* running;
    const char* done;
};

class CleanupSteps {
public:
    static const CleanupStepTexts& texts(CleanupStep step);
    // The question before the whole clean-up.
    static QString question();
    // The work of one step. The cache and history steps clear the web pane's folders on disk;
    // the address-list step has nothing to do here.
    static Status run(CleanupStep step);
};
