#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

// "open" carries a path (at most PATH_MAX bytes and a file name) in base64.
constexpr qint64 kMaxCommand = 16 * 1024;
const QByteArray kOpen = QByteArrayLiteral("open ");

} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::serveConnection);
}

QString SingleInstance::serverName()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QStringLiteral("/folvane3.instance");
    return QDir::tempPath() + QStringLiteral("/folvane3-%1.instance").arg(::getuid());
}

bool SingleInstance::sendCommand(const QByteArray& command, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(command + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

QByteArray SingleInstance::openCommand(const StartTarget& target)
{
    return kOpen + target.toMessage().toBase64();
}

bool SingleInstance::listen()
{
    // Ask first: with access options QLocalServer binds beside the name and renames its
    // socket into place, which would silently take the name from a live instance.
    if (sendCommand(QByteArrayLiteral("ping"), 500))
        return false;
    if (m_server->listen(serverName()))
        return true;
    QLocalServer::removeServer(serverName());
    return m_server->listen(serverName());
}

void SingleInstance::serveConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxCommand)
                    socket->abort();
                return;
            }
            // The command is carried out before the answer, so the asking side can rely on it.
            const QByteArray command = socket->readLine(kMaxCommand).trimmed();
            const StartTarget target = command.startsWith(kOpen)
                ? StartTarget::fromMessage(QByteArray::fromBase64(command.mid(kOpen.size()), QByteArray::AbortOnBase64DecodingErrors))
                : StartTarget();
            const bool known = command == "raise" || command == "quit" || command == "ping" || !target.isEmpty();
            if (!target.isEmpty())
                Q_EMIT openRequested(target);
            else if (command == "raise")
                Q_EMIT raiseRequested();
            else if (command == "quit")
                Q_EMIT quitRequested();
            socket->write(known ? "ok\n" : "unknown\n");
            socket->flush();
        });
    }
}
