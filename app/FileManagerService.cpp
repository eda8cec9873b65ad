#include "app/FileManagerService.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

FileManagerService::FileManagerService(QObject* parent)
    : QObject(parent)
{
}

bool FileManagerService::publish(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString name = QLatin1String(kName);
    if (bus.interface()->isServiceRegistered(name).value())
        return false;
    if (!bus.registerObject(QLatin1String(kPath), this, QDBusConnection::ExportScriptableSlots))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claimed
        = bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (claimed.isValid() && claimed.value() == QDBusConnectionInterface::ServiceRegistered)
        return true;
    bus.unregisterObject(QLatin1String(kPath));
    return false;
}

StartTarget FileManagerService::firstTarget(const QStringList& uris)
{
    for (const QString& uri : uris) {
        // Some senders pass plain paths instead of URIs; both are taken.
        const StartTarget target = StartArguments::target(uri, QStringLiteral("/"));
        if (!target.isEmpty())
            return target;
    }
    return {};
}

void FileManagerService::ShowFolders(const QStringList& uris, const QString&)
{
    // A file given as a folder shows its folder, with the file selected.
    const StartTarget target = firstTarget(uris);
    if (!target.isEmpty())
        Q_EMIT showRequested(target);
}

void FileManagerService::ShowItems(const QStringList& uris, const QString&)
{
    const StartTarget target = firstTarget(uris);
    if (target.isEmpty())
        return;
    // An item that is itself a folder is shown selected in its parent folder.
    if (target.item.isEmpty() && target.folder != QLatin1String("/")) {
        const qsizetype slash = target.folder.lastIndexOf(QLatin1Char('/'));
        Q_EMIT showRequested({slash > 0 ? target.folder.left(slash) : QStringLiteral("/"), target.folder, QString()});
        return;
    }
    Q_EMIT showRequested(target);
}

void FileManagerService::ShowItemProperties(const QStringList& uris, const QString&)
{
    const StartTarget target = firstTarget(uris);
    if (!target.isEmpty())
        Q_EMIT propertiesRequested(target.item.isEmpty() ? target.folder : target.item);
}
