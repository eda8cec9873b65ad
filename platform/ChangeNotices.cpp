#include "platform/ChangeNotices.h"

#include "platform/PathText.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

namespace {

QString cleaned(const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(path);
}

} // namespace

ChangeNoticeBus::ChangeNoticeBus()
{
    if (QCoreApplication::instance())
        moveToThread(QCoreApplication::instance()->thread());
}

ChangeNoticeBus& ChangeNoticeBus::instance()
{
    static ChangeNoticeBus* bus = new ChangeNoticeBus; // outlives every receiver
    return *bus;
}

int ChangeNoticeBus::registerWatcher(QObject* receiver, ChangeEvents mask, const QString& folder, bool recursive,
                                     Handler handler)
{
    QMutexLocker lock(&m_mutex);
    const int id = m_nextId++;
    m_watchers.insert(id, Watcher{receiver, mask, cleaned(folder), recursive, std::move(handler)});
    if (receiver)
        connect(receiver, &QObject::destroyed, this, [this, id] { deregisterWatcher(id); }, Qt::DirectConnection);
    return id;
}

void ChangeNoticeBus::deregisterWatcher(int id)
{
    QMutexLocker lock(&m_mutex);
    m_watchers.remove(id);
}

void ChangeNoticeBus::notify(ChangeEvent event, const QString& path, const QString& path2)
{
    const ChangeNotice notice{event, cleaned(path), cleaned(path2)};
    QMetaObject::invokeMethod(this, [this, notice] { deliver(notice); }, Qt::QueuedConnection);
}

bool ChangeNoticeBus::concerns(const Watcher& watcher, const QString& path)
{
    if (path.isEmpty())
        return false;
    if (path == watcher.folder)
        return true;
    const QString prefix = PathText::withTrailingSlash(watcher.folder);
    if (!path.startsWith(prefix))
        return false;
    return watcher.recursive || !path.mid(prefix.size()).contains(QLatin1Char('/'));
}

void ChangeNoticeBus::deliver(const ChangeNotice& notice)
{
    QList<int> ids;
    {
        QMutexLocker lock(&m_mutex);
        ids = m_watchers.keys();
    }
    std::sort(ids.begin(), ids.end());
    for (int id : ids) {
        Handler handler;
        {
            QMutexLocker lock(&m_mutex);
            const auto it = m_watchers.constFind(id);
            // A handler may deregister others; a watcher gone by now gets nothing.
            if (it == m_watchers.constEnd() || !it->mask.testFlag(notice.event)
                || !(concerns(*it, notice.path) || concerns(*it, notice.path2)))
                continue;
            handler = it->handler;
        }
        handler(notice);
    }
}
