#include "platform/linux/MountWatcher.h"

#include "platform/ChangeNotices.h"
#include "platform/Drives.h"
#include "platform/FileName.h"
#include "platform/linux/MountTable.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kUdisks = QStringLiteral("org.freedesktop.UDisks2");
const QString kUdisksPath = QStringLiteral("/org/freedesktop/UDisks2");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");

// The whole table: it is a few kilobytes, and a mount table longer than this is cut.
QByteArray readAll(int fd)
{
    constexpr qsizetype kMaxBytes = 16 << 20;
    QByteArray bytes;
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return bytes;
    char buffer[16 * 1024];
    ssize_t got;
    while (bytes.size() < kMaxBytes && (got = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, got);
    return bytes;
}

// UDisks2 objects of block devices and drives: /org/freedesktop/UDisks2/block_devices/sdb1.
QString objectOf(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    return args.isEmpty() ? QString() : qvariant_cast<QDBusObjectPath>(args.first()).path();
}

} // namespace

MountWatcher::MountWatcher(const QString& mountInfo, QObject* parent)
    : MountWatcher(mountInfo, QDBusConnection::systemBus(), parent)
{
}

MountWatcher::MountWatcher(const QString& mountInfo, const QDBusConnection& systemBus, QObject* parent)
    : QObject(parent)
    , m_path(mountInfo.isEmpty() ? DriveSources::current().mountInfo : mountInfo)
{
    m_fd = ::open(FileName::encode(m_path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd >= 0) {
        m_points = mountPointsOf(readAll(m_fd));
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &MountWatcher::check);
    }
    connectUdisks(systemBus);
}

MountWatcher::~MountWatcher()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QSet<QString> MountWatcher::mountPointsOf(const QByteArray& mountInfo)
{
    QSet<QString> points;
    for (const QByteArray& line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4 && fields[4].startsWith('/'))
            points.insert(MountTable::unescapeOctal(fields[4]));
    }
    return points;
}

void MountWatcher::check()
{
    if (m_fd < 0)
        return;
    const QSet<QString> now = mountPointsOf(readAll(m_fd));
    for (const QString& point : now - m_points)
        NotifyChange(ChangeEvent::DriveAdd, point);
    for (const QString& point : m_points - now)
        NotifyChange(ChangeEvent::DriveRemove, point);
    m_points = now;
}

void MountWatcher::connectUdisks(QDBusConnection bus)
{
    // Listened to even when UDisks2 does not run yet: it is started on demand, often after
    // the program, and the bus tells its signals once it takes its name. Without it the
    // mount table alone tells.
    if (!bus.isConnected())
        return;
    bus.connect(kUdisks, kUdisksPath, kObjectManager, QStringLiteral("InterfacesAdded"), this,
                SLOT(udisksInterfacesAdded(QDBusMessage)));
    bus.connect(kUdisks, kUdisksPath, kObjectManager, QStringLiteral("InterfacesRemoved"), this,
                SLOT(udisksInterfacesRemoved(QDBusMessage)));
}

void MountWatcher::udisksInterfacesAdded(const QDBusMessage& message)
{
    // A device that appears (a stick plugged in, a disc inserted) is not mounted yet; the
    // drives view shows it once the desktop mounts it, and the mount table tells then.
    NotifyChange(ChangeEvent::MediaInsert, objectOf(message));
}

void MountWatcher::udisksInterfacesRemoved(const QDBusMessage& message)
{
    NotifyChange(ChangeEvent::MediaRemove, objectOf(message));
}


// The meta-object code in this file rather than in the library's shared moc object: a program
// that uses another QObject of the library then does not pull in this watcher and D-Bus.
#include "moc_MountWatcher.cpp"
