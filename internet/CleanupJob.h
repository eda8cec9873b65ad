#pragma once
// One clean-up step as a job, so that the Cleanup window and the options dialog stay
// painted and answer while the Trash or the temporary folder is emptied on a worker. The
// Trash goes item by item: the progress window shows each one and Cancel stops between
// them (what is deleted stays deleted; the rest stays in the Trash, whole).

#include "internet/CleanupSteps.h"
#include "platform/Job.h"

#include <QList>
#include <QStringList>

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
    struct TrashContents {
        QString folder;
        QStringList names;
    };

    void emptyTrash();

    CleanupStep m_step;
    QList<TrashContents> m_trash;
};
