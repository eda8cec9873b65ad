#pragma once
// The change notice bus: every command that changes files announces it here, and every
// registered watcher whose mask and folder match receives the notice on the UI thread (also
// when the announcement came from a worker thread). The watcher of other programs' changes
// (inotify) posts into the same bus.

#include <QFlags>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>

#include <functional>

enum class ChangeEvent {
    RenameItem = 0x00000001,
    Create = 0x00000002,
    Delete = 0x00000004,
    MakeFolder = 0x00000008,
    RemoveFolder = 0x00000010,
    Attributes = 0x00000800,
    UpdateDir = 0x00001000,
    UpdateItem = 0x00002000,
    RenameFolder = 0x00020000,
    // Drives, media and space, from the mount table and UDisks2.
    MediaInsert = 0x00000020,
    MediaRemove = 0x00000040,
    DriveRemove = 0x00000080,
    DriveAdd = 0x00000100,
    FreeSpace = 0x00040000,
    AllEvents = 0x7fffffff,
};
Q_DECLARE_FLAGS(ChangeEvents, ChangeEvent)
Q_DECLARE_OPERATORS_FOR_FLAGS(ChangeEvents)

struct ChangeNotice {
    ChangeEvent event;
    QString path;
    QString path2; // the new path of a rename
};

class ChangeNoticeBus final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const ChangeNotice&)>;

    // The process-wide bus; lives on the application's thread.
    static ChangeNoticeBus& instance();

    // Registers a watcher of the events in mask for items in folder (and below it when
    // recursive; the folder itself always counts). The registration ends with deregister or
    // when receiver is destroyed. Returns the registration id (above 0).
    int registerWatcher(QObject* receiver, ChangeEvents mask, const QString& folder, bool recursive, Handler handler);
    void deregisterWatcher(int id);

    // Announces a change; returns at once, delivery follows on the UI thread.
    void notify(ChangeEvent event, const QString& path, const QString& path2 = QString());

private:
    struct Watcher {
        QObject* receiver;
        ChangeEvents mask;
        QString folder;
        bool recursive;
        Handler handler;
    };
    ChangeNoticeBus();
    void deliver(const ChangeNotice& notice);
    static bool concerns(const Watcher& watcher, const QString& path);

    QMutex m_mutex;
    QHash<int, Watcher> m_watchers;
    int m_nextId = 1;
};

// The shell's announcement call in the program's words.
inline void NotifyChange(ChangeEvent event, const QString& path, const QString& path2 = QString())
{
    ChangeNoticeBus::instance().notify(event, path, path2);
}
