#include "platform/UiThreadResolver.h"

#include "platform/UiThread.h"

JobConflictChoice UiThreadResolver::resolveConflict(const JobConflict& conflict)
{
    JobConflictChoice choice = JobConflictChoice::Cancel;
    RunOnUiThread([&] { choice = m_target.resolveConflict(conflict); }, &m_abandoned);
    return choice;
}

JobErrorChoice UiThreadResolver::resolveError(const JobError& error)
{
    JobErrorChoice choice = JobErrorChoice::Abort;
    RunOnUiThread([&] { choice = m_target.resolveError(error); }, &m_abandoned);
    return choice;
}
