#include "internet/CleanupJob.h"

bool CleanupJob::plan()
{
    addTotal(1);
    return true;
}

void CleanupJob::execute()
{
    setCurrentItem(QString::fromLatin1(CleanupSteps::texts(m_step).running));
    if (const Status done = CleanupSteps::run(m_step); !done)
        setError(done.errorString());
    itemDone();
}
