#pragma once
// The change watcher of the main window (ShellNotification1): hears the change notice bus
// (the program's own commands announce there) and, while active, feeds it with what inotify
// sees in the folders shown (FolderWatcher) and with drives and media coming and going
// (MountWatcher). Each notice for Path (and below it with WatchSubTree; an empty Path is the
// whole file system) whose event is in WatchEvents comes out once as noticed(); the same
// notice twice in a row (same event, same paths, byte for byte) comes out once.
//
// The watcher stays registered while the panes refresh: what changes during a reload is
// owed afterwards, never lost.

#include "platform/ChangeNotices.h"

#include <QObject>
#include <QStringList>

#include <memory>

class FolderWatcher;
class MountWatcher;

class TShellNotification : public QObject {
    Q_OBJECT
public:
    explicit TShellNotification(QObject* parent = nullptr);
    ~TShellNotification() override;

    QString Path() const { return m_path; }
    void setPath(const QString& path);
    bool Active() const { return m_busId > 0; }
    void setActive(bool active);
    bool WatchSubTree() const { return m_watchSubTree; }
    void setWatchSubTree(bool on);
    ChangeEvents WatchEvents() const { return m_watchEvents; }
    void setWatchEvents(ChangeEvents events);

    // The folders shown, watched for other programs' changes: the essential ones (the listed
    // folder and the current folder's parents) keep their watches when the system's limit is
    // reached, the others are polled then.
    void setShownFolders(const QStringList& essential, const QStringList& others);
    FolderWatcher& folderWatcher() { return *m_folders; }
    // The refresh for the last notice was made: the same notice again is news.
    void forgetLast() { m_hasLast = false; }

Q_SIGNALS:
    void noticed(const ChangeNotice& notice);
    // Some shown folders are polled: the system's watch limit was reached (told once).
    void watchLimitReached();

private:
    void registerOnBus();
    void deregister();
    void receive(const ChangeNotice& notice);

    QString m_path;
    bool m_wanted = false;
    bool m_watchSubTree = true;
    ChangeEvents m_watchEvents = ChangeEvent::AllEvents;
    int m_busId = 0;
    bool m_hasLast = false;
    ChangeNotice m_last{};
    FolderWatcher* m_folders = nullptr;
    std::unique_ptr<MountWatcher> m_mounts;
    QStringList m_essential;
    QStringList m_others;
};
