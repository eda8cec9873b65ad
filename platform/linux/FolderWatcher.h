#pragma once
// Watches a set of folders with inotify and reports what changes in them (FolderEvent) on the
// thread that owns it. Only the folders asked for are watched, not their subfolders: the
// program watches what it shows. Bringing the watch set in line runs on a worker, because
// adding a watch looks the path up, which can wait on a mount that does not answer.
//
// The kernel allows each user a limited number of watches (fs.inotify.max_user_watches),
// shared by every program. When a watch is refused (or the watcher's own cap is reached), the
// essential folders (those given first) take the place of other folders, and the folders left
// without a watch are polled every kPollMs: a change of their time stamps or identity is
// reported as Polled. watchLimitReached is emitted the first time this happens.

#include "platform/FolderEvent.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

class QSocketNotifier;
class FolderEventPairer;

class FolderWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMs = 2000;

    explicit FolderWatcher(QObject* parent = nullptr);
    ~FolderWatcher() override;

    // False when the kernel gave no inotify instance (then every folder is polled).
    bool isValid() const;

    // The folders to watch: essential ones first (they keep their watches when the limit is
    // reached), then the others. Paths as the program carries them (FileName escapes).
    void setFolders(const QStringList& essential, const QStringList& others);
    // At most this many watches (0: as many as the kernel gives).
    void setWatchLimit(int limit);

    // What the last finished sync left watched and polled (tests and fvtool).
    QStringList watchedFolders() const;
    QStringList polledFolders() const;

Q_SIGNALS:
    void eventsArrived(const QList<FolderEvent>& events);
    // The watch set is in line with the last setFolders.
    void synced();
    // Told once in the watcher's life.
    void watchLimitReached();

private:
    struct State;
    void readEvents();
    void deliver();
    void startSync();
    void poll();

    std::shared_ptr<State> m_state;
    QSocketNotifier* m_notifier = nullptr;
    std::unique_ptr<FolderEventPairer> m_pairer;
    QTimer m_pairTimer;
    QTimer m_pollTimer;
    bool m_limitTold = false;
};
