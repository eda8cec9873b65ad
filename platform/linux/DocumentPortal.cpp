#include "platform/linux/DocumentPortal.h"

#include "platform/FileName.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace DocumentPortal {

QStringList retrieveFiles(const QByteArray& key)
{
    const QByteArray trimmed = key.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Documents"),
                                                       QStringLiteral("/org/freedesktop/portal/documents"),
                                                       QStringLiteral("org.freedesktop.portal.FileTransfer"),
                                                       QStringLiteral("RetrieveFiles"));
    call << QString::fromUtf8(trimmed) << QVariantMap();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    QStringList paths;
    // The portal hands paths as D-Bus strings; they are taken back to their bytes.
    for (const QString& path : reply.arguments().first().toStringList())
        paths << FileName::decode(path.toUtf8());
    return paths;
}

} // namespace DocumentPortal
