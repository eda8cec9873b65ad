#include "internet/CleanupJob.h"

#include "platform/Trash.h"

bool CleanupJob::plan()
{
    if (m_step != CleanupStep::RecycleBin) {
        addTotal(1);
        return true;
    }
    for (const QString& folder : Trash::trashFolders()) {
        m_trash.append({folder, Trash::storedNames(folder)});
        addTotal(m_trash.constLast().names.size());
    }
    return true;
}

void CleanupJob::execute()
{
    if (m_step == CleanupStep::RecycleBin) {
        emptyTrash();
        return;
    }
    setCurrentItem(QString::fromLatin1(CleanupSteps::texts(m_step).running));
    if (const Status done = CleanupSteps::run(m_step); !done)
        setError(done.errorString());
    itemDone();
}

// As Trash::empty: an item that cannot be deleted stays and the others still go; the
// last reason is the job's error.
void CleanupJob::emptyTrash()
{
    Status outcome;
    for (const TrashContents& trash : std::as_const(m_trash)) {
        for (const QString& name : trash.names) {
            if (isCancelled())
                return;
            setCurrentItem(name);
            if (const Status removed = Trash::deleteItem(trash.folder, name); !removed)
                outcome = removed;
            itemDone();
        }
        Trash::tidy(trash.folder);
    }
    if (!outcome)
        setError(outcome.errorString());
}
