#include "app/FolderChecks.h"

#include "app/RecentPaths.h"
#include "app/StartFolder.h"
#include "browse/WorkerLink.h"

namespace {

QStringList goneOf(const QStringList& folders)
{
    QStringList gone;
    for (const QString& folder : folders) {
        if (!RecentPaths::isFolder(folder))
            gone << folder;
    }
    return gone;
}

} // namespace

FolderChecks::FolderChecks(QObject* parent)
    : QObject(parent)
    , m_link(std::make_shared<WorkerLink>(this))
{
}

FolderChecks::~FolderChecks()
{
    m_link->detach();
}

void FolderChecks::checkStart(const QString& currentItem, const QString& currentPath, const QStringList& recent)
{
    WorkerLink::pool().start([this, link = m_link, currentItem, currentPath, recent] {
        const QString start = StartFolder::resolve(currentItem, currentPath);
        const QStringList gone = goneOf(recent);
        link->post([this, start, gone] { Q_EMIT startChecked(start, gone); });
    });
}

void FolderChecks::checkRecent(const QStringList& recent)
{
    WorkerLink::pool().start([this, link = m_link, recent] {
        const QStringList gone = goneOf(recent);
        link->post([this, gone] { Q_EMIT recentChecked(gone); });
    });
}
