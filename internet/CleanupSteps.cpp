#include "internet/CleanupSteps.h"

#include "internet/WebProfileFolders.h"
#include "platform/Shell.h"
#include "platform/TempFolderCleaner.h"
#include "platform/Trash.h"

namespace {

const CleanupStepTexts kTexts[kCleanupStepCount] = {
    {"Recycle bin", "Emptying Recycle bin...", "Recycle bin emptyed"},
    {"Internet cache", "Clearing Internet Cache...", "Internet cache cleared"},
    {"Internet History", "Clearing Internet History...", "Internet History cleared"},
    {"Temporary folder/files", "Emptying folder files...", "Temporary folder empty"},
    {"Recent used documents", "Clearing recent used documents...", "Recent used documents cleared"},
    {"Folvane WebBrowser History", "Clearing Folvane Browser History...", "Folvane Browser History cleared"},
};

} // namespace

const CleanupStepTexts& CleanupSteps::texts(CleanupStep step)
{
    return kTexts[int(step)];
}

QString CleanupSteps::question()
{
    return QStringLiteral("Do you want to...\r\n  > Clear the Recycle Bin?\r\n  > Empty Temporary folder?\r\n  > Internet Cache?\r\n"
                          "  > Internet History?\r\n  > Recent Docs?\r\n  > Folvane Webbrowser History?\r\n ALL ?");
}

Status CleanupSteps::run(CleanupStep step)
{
    switch (step) {
    case CleanupStep::RecycleBin: return Trash::empty();
    case CleanupStep::InternetCache: return WebProfileFolders::clearCache();
    case CleanupStep::InternetHistory: return WebProfileFolders::clearHistory();
    case CleanupStep::TemporaryFiles: return TempFolderCleaner::empty(TempFolderCleaner::temporaryFolder());
    case CleanupStep::RecentDocuments: return ClearRecentDocuments();
    case CleanupStep::BrowserAddresses: return Status();
    }
    return Status();
}
