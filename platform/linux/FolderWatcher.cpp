#include "platform/linux/FolderWatcher.h"

#include "platform/FileName.h"
#include "platform/linux/FolderEventPairer.h"
#include "platform/linux/InotifyRecords.h"

#include <QHash>
#include <QMutex>
#include <QSocketNotifier>
#include <QThreadPool>

#include <cerrno>
#include <chrono>
#include <utility>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_CLOSE_WRITE
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// What changes when an entry is made, removed or renamed in a folder, or the folder is
// replaced: its modification and change times and its identity. Empty when it is gone.
QByteArray stampOf(const QString& folder)
{
    struct stat st;
    if (::stat(FileName::encode(folder).constData(), &st) != 0)
        return {};
    QByteArray stamp;
    for (long long part : {(long long)st.st_dev, (long long)st.st_ino, (long long)st.st_mtim.tv_sec,
                           (long long)st.st_mtim.tv_nsec, (long long)st.st_ctim.tv_sec, (long long)st.st_ctim.tv_nsec})
        stamp += QByteArray::number(part) + ' ';
    return stamp;
}

} // namespace

struct FolderWatcher::State {
    int fd = -1;
    mutable QMutex mutex;
    FolderWatcher* owner = nullptr; // cleared (under the mutex) when the watcher goes
    QHash<int, QStringList> wdPaths;
    QHash<QString, int> pathWd;
    QStringList essential;
    QStringList others;
    int limit = 0;
    QStringList polled;
    QHash<QString, QByteArray> stamps;
    bool syncing = false;
    bool again = false;
    bool polling = false;
    bool limitHit = false;

    ~State()
    {
        if (fd >= 0)
            ::close(fd);
    }

    // Runs fn on the owner's thread, unless the owner is gone. Called with the mutex held, so
    // the owner cannot be destroyed between the check and the post.
    template <typename Fn>
    void post(Fn fn)
    {
        if (owner)
            QMetaObject::invokeMethod(owner, std::move(fn), Qt::QueuedConnection);
    }

    // With the mutex held.
    void unwatch(const QString& path)
    {
        const int wd = pathWd.take(path);
        QStringList& paths = wdPaths[wd];
        paths.removeAll(path);
        if (paths.isEmpty()) {
            wdPaths.remove(wd);
            inotify_rm_watch(fd, wd);
        }
    }

    // Frees one watch of a folder that is not essential for an essential one; false when
    // every watch is essential already.
    bool evictFor(const QStringList& wanted)
    {
        QMutexLocker lock(&mutex);
        for (qsizetype i = others.size() - 1; i >= 0; --i) {
            const QString& path = others[i];
            if (pathWd.contains(path) && !wanted.mid(0, essential.size()).contains(path)) {
                unwatch(path);
                return true;
            }
        }
        return false;
    }

    void watch(const QString& path, bool isEssential, QStringList& poll, const QStringList& wanted)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            {
                QMutexLocker lock(&mutex);
                if (limit > 0 && wdPaths.size() >= limit) {
                    limitHit = true;
                    lock.unlock();
                    if (isEssential && attempt == 0 && evictFor(wanted))
                        continue;
                    poll.append(path);
                    return;
                }
            }
            const int wd = inotify_add_watch(fd, FileName::encode(path).constData(), kWatchMask);
            if (wd >= 0) {
                QMutexLocker lock(&mutex);
                pathWd.insert(path, wd);
                QStringList& paths = wdPaths[wd];
                if (!paths.contains(path))
                    paths.append(path);
                return;
            }
            if (errno != ENOSPC)
                return; // gone or not a folder: nothing to watch
            limitHit = true;
            if (!(isEssential && attempt == 0 && evictFor(wanted))) {
                poll.append(path);
                return;
            }
        }
        poll.append(path);
    }

    void sync()
    {
        for (;;) {
            QStringList wanted;
            qsizetype essentialCount = 0;
            {
                QMutexLocker lock(&mutex);
                again = false;
                essentialCount = essential.size();
                wanted = essential + others;
                wanted.removeDuplicates();
                for (const QString& path : pathWd.keys()) {
                    if (!wanted.contains(path))
                        unwatch(path);
                }
            }
            QStringList poll;
            for (qsizetype i = 0; i < wanted.size(); ++i) {
                {
                    QMutexLocker lock(&mutex);
                    if (pathWd.contains(wanted[i]))
                        continue;
                }
                if (fd < 0)
                    poll.append(wanted[i]);
                else
                    watch(wanted[i], i < essentialCount, poll, wanted);
            }
            QMutexLocker lock(&mutex);
            // An evicted folder is polled too.
            for (const QString& path : wanted) {
                if (!pathWd.contains(path) && !poll.contains(path))
                    poll.append(path);
            }
            for (const QString& path : stamps.keys()) {
                if (!poll.contains(path))
                    stamps.remove(path);
            }
            polled = poll;
            if (again)
                continue;
            syncing = false;
            post([this] { owner->synced(); });
            if (limitHit)
                post([this] {
                    if (!std::exchange(owner->m_limitTold, true))
                        Q_EMIT owner->watchLimitReached();
                });
            return;
        }
    }
};

FolderWatcher::FolderWatcher(QObject* parent)
    : QObject(parent)
    , m_state(std::make_shared<State>())
    , m_pairer(std::make_unique<FolderEventPairer>())
{
    m_state->owner = this;
    m_state->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_state->fd >= 0) {
        m_notifier = new QSocketNotifier(m_state->fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
    }
    m_pairTimer.setSingleShot(true);
    connect(&m_pairTimer, &QTimer::timeout, this, &FolderWatcher::deliver);
    m_pollTimer.setInterval(kPollMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &FolderWatcher::poll);
    connect(this, &FolderWatcher::synced, this, [this] {
        if (polledFolders().isEmpty())
            m_pollTimer.stop();
        else if (!m_pollTimer.isActive())
            m_pollTimer.start();
    });
}

FolderWatcher::~FolderWatcher()
{
    QMutexLocker lock(&m_state->mutex);
    m_state->owner = nullptr; // a sync under way finishes on its own copy of the state
}

bool FolderWatcher::isValid() const
{
    return m_state->fd >= 0;
}

void FolderWatcher::setFolders(const QStringList& essential, const QStringList& others)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->essential = essential;
    m_state->others = others;
    startSync();
}

void FolderWatcher::setWatchLimit(int limit)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->limit = limit;
}

// With the mutex held.
void FolderWatcher::startSync()
{
    if (m_state->syncing) {
        m_state->again = true;
        return;
    }
    m_state->syncing = true;
    QThreadPool::globalInstance()->start([state = m_state] { state->sync(); });
}

QStringList FolderWatcher::watchedFolders() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->pathWd.keys();
}

QStringList FolderWatcher::polledFolders() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->polled;
}

void FolderWatcher::readEvents()
{
    // One buffer per wake-up: a burst of thousands of records is handed on in parts, so the
    // thread's other events (input, painting, timers) run between them. The notifier fires
    // again while records are left.
    char buffer[32 * 1024];
    const qint64 now = nowMs();
    const ssize_t got = ::read(m_state->fd, buffer, sizeof buffer);
    if (got <= 0)
        return; // EAGAIN: the queue is empty
    // The kernel returns whole records only.
    for (const InotifyRecord& record : InotifyRecords::parse(QByteArrayView(buffer, got))) {
        QStringList folders;
        {
            QMutexLocker lock(&m_state->mutex);
            folders = m_state->wdPaths.value(record.wd);
            if (record.mask & IN_IGNORED) {
                for (const QString& path : folders)
                    m_state->pathWd.remove(path);
                m_state->wdPaths.remove(record.wd);
            }
        }
        if (record.mask & IN_Q_OVERFLOW)
            m_pairer->add(record, {}, now);
        for (const QString& folder : folders)
            m_pairer->add(record, folder, now);
    }
    deliver();
}

void FolderWatcher::deliver()
{
    const qint64 now = nowMs();
    const QList<FolderEvent> events = m_pairer->take(now);
    const qint64 expiry = m_pairer->nextExpiry();
    if (expiry >= 0)
        m_pairTimer.start(int(std::max<qint64>(0, expiry - now)));
    if (!events.isEmpty())
        Q_EMIT eventsArrived(events);
}

void FolderWatcher::poll()
{
    QMutexLocker lock(&m_state->mutex);
    if (m_state->polling)
        return;
    m_state->polling = true;
    QThreadPool::globalInstance()->start([state = m_state] {
        QStringList folders;
        {
            QMutexLocker lock(&state->mutex);
            folders = state->polled;
        }
        QList<FolderEvent> changed;
        QHash<QString, QByteArray> stamps;
        for (const QString& folder : folders)
            stamps.insert(folder, stampOf(folder));
        QMutexLocker lock(&state->mutex);
        state->polling = false;
        for (auto it = stamps.cbegin(); it != stamps.cend(); ++it) {
            const auto known = state->stamps.constFind(it.key());
            if (known != state->stamps.cend() && *known != it.value())
                changed.append({FolderEvent::Kind::Polled, it.key(), {}, true});
            state->stamps.insert(it.key(), it.value());
        }
        if (!changed.isEmpty())
            state->post([state, changed] { Q_EMIT state->owner->eventsArrived(changed); });
    });
}
