#pragma once
// Tells when drives come and go: the kernel marks the mount table file readable with an
// exceptional condition whenever a file system is mounted or unmounted, and UDisks2 (where it
// runs) announces block devices and media as they appear and vanish. Each change is
// announced on the change notice bus: DriveAdd / DriveRemove with the mount point, and
// MediaInsert / MediaRemove with the UDisks2 object, so every watcher of drives hears it.

#include <QObject>
#include <QSet>
#include <QString>

class QSocketNotifier;
class QDBusConnection;
class QDBusMessage;

class MountWatcher : public QObject {
    Q_OBJECT
public:
    // mountInfo: the mount table file (the drive sources' by default).
    explicit MountWatcher(const QString& mountInfo = QString(), QObject* parent = nullptr);
    // With UDisks2 looked for on systemBus instead of the system's bus.
    MountWatcher(const QString& mountInfo, const QDBusConnection& systemBus, QObject* parent = nullptr);
    ~MountWatcher() override;

    bool isValid() const { return m_fd >= 0; }
    // The mount points of the last reading.
    QSet<QString> mountPoints() const { return m_points; }
    // Reads the table again and announces the differences (also run on every notice).
    void check();

    // The mount points of a mount table's text (the fifth field, octal escapes undone).
    static QSet<QString> mountPointsOf(const QByteArray& mountInfo);

private Q_SLOTS:
    void udisksInterfacesAdded(const QDBusMessage& message);
    void udisksInterfacesRemoved(const QDBusMessage& message);

private:
    void connectUdisks(QDBusConnection bus);

    QString m_path;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QSet<QString> m_points;
};
