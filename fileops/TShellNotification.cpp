#include "fileops/TShellNotification.h"

#include "platform/linux/FolderWatcher.h"
#include "platform/linux/MountWatcher.h"

TShellNotification::TShellNotification(QObject* parent)
    : QObject(parent)
    , m_folders(new FolderWatcher(this))
{
    connect(m_folders, &FolderWatcher::eventsArrived, this, [this](const QList<FolderEvent>& events) {
        for (const FolderEvent& event : events) {
            const ChangeNotice notice = event.toNotice();
            NotifyChange(notice.event, notice.path, notice.path2);
        }
    });
    connect(m_folders, &FolderWatcher::watchLimitReached, this, &TShellNotification::watchLimitReached);
}

TShellNotification::~TShellNotification()
{
    deregister();
}

void TShellNotification::setPath(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    registerOnBus();
}

void TShellNotification::setActive(bool active)
{
    if (active == m_wanted)
        return;
    m_wanted = active;
    if (active)
        registerOnBus();
    else
        deregister();
}

void TShellNotification::setWatchSubTree(bool on)
{
    if (on == m_watchSubTree)
        return;
    m_watchSubTree = on;
    registerOnBus();
}

void TShellNotification::setWatchEvents(ChangeEvents events)
{
    if (events == m_watchEvents)
        return;
    m_watchEvents = events;
    registerOnBus();
}

void TShellNotification::setShownFolders(const QStringList& essential, const QStringList& others)
{
    m_essential = essential;
    m_others = others;
    if (Active())
        m_folders->setFolders(essential, others);
}

void TShellNotification::registerOnBus()
{
    deregister();
    if (!m_wanted)
        return;
    m_busId = ChangeNoticeBus::instance().registerWatcher(this, m_watchEvents, m_path, m_watchSubTree,
                                                          [this](const ChangeNotice& notice) { receive(notice); });
    m_folders->setFolders(m_essential, m_others);
    m_mounts = std::make_unique<MountWatcher>();
}

void TShellNotification::deregister()
{
    if (m_busId > 0)
        ChangeNoticeBus::instance().deregisterWatcher(m_busId);
    m_busId = 0;
    m_hasLast = false;
    m_mounts.reset();
    m_folders->setFolders({}, {});
}

void TShellNotification::receive(const ChangeNotice& notice)
{
    if (m_hasLast && notice.event == m_last.event && notice.path == m_last.path && notice.path2 == m_last.path2)
        return;
    m_hasLast = true;
    m_last = notice;
    Q_EMIT noticed(notice);
}
