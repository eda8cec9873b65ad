#include "platform/linux/MediaEject.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QFile>
#include <QFileInfo>
#include <QVariantMap>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
constexpr int kEjectTimeoutMs = 30000; // unmounting flushes the stick's write cache

class DeviceHandle {
public:
    explicit DeviceHandle(const QString& device)
        : m_fd(::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~DeviceHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DeviceHandle(const DeviceHandle&) = delete;
    DeviceHandle& operator=(const DeviceHandle&) = delete;
    bool request(unsigned long code) const { return m_fd >= 0 && ::ioctl(m_fd, code, 0) == 0; }

private:
    int m_fd;
};

QString blockObjectPath(const QString& device)
{
    QString name = QFileInfo(device).fileName();
    const QString canonical = QFileInfo(device).canonicalFilePath();
    if (!canonical.isEmpty())
        name = QFileInfo(canonical).fileName();
    // Object paths allow only [A-Za-z0-9_]; UDisks2 writes other bytes as _xx.
    QString escaped;
    for (QChar c : name) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            escaped += c;
        else
            escaped += QStringLiteral("_%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    }
    return QStringLiteral("/org/freedesktop/UDisks2/block_devices/") + escaped;
}

} // namespace

Result<MediaEject::Outcome> MediaEject::ejectWithUDisks(const QString& device)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(kService).value())
        return Outcome::Unavailable;
    const QString blockPath = blockObjectPath(device);
    QDBusInterface block(kService, blockPath, kService + QStringLiteral(".Block"), bus);
    const QVariant drive = block.property("Drive");
    if (!block.isValid() || !drive.isValid())
        return Outcome::Unavailable;

    QDBusInterface filesystem(kService, blockPath, kService + QStringLiteral(".Filesystem"), bus);
    filesystem.setTimeout(kEjectTimeoutMs);
    const QList<QByteArray> mounts = filesystem.property("MountPoints").value<QList<QByteArray>>();
    if (filesystem.isValid() && !mounts.isEmpty()) {
        QDBusReply<void> unmounted = filesystem.call(QStringLiteral("Unmount"), QVariantMap());
        if (!unmounted.isValid())
            return Status::failure(QStringLiteral("Eject"), unmounted.error().message());
    }
    QDBusInterface driveObject(kService, drive.value<QDBusObjectPath>().path(), kService + QStringLiteral(".Drive"), bus);
    driveObject.setTimeout(kEjectTimeoutMs);
    QDBusReply<void> ejected = driveObject.call(QStringLiteral("Eject"), QVariantMap());
    if (!ejected.isValid())
        return Status::failure(QStringLiteral("Eject"), ejected.error().message());
    return Outcome::Done;
}

bool MediaEject::ejectWithIoctl(const QString& device)
{
    DeviceHandle handle(device);
    return handle.request(CDROMEJECT);
}

bool MediaEject::cycleWithIoctl(const QString& device)
{
    DeviceHandle handle(device);
    return handle.request(CDROMEJECT) && handle.request(CDROMCLOSETRAY);
}
