#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr qint64 kMaxCommand = 64;

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

bool SingleInstance::listen()
{
    if (m_server->listen(serverName()))
        return true;
    if (sendCommand(QByteArrayLiteral("ping"), 500))
        return false;
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
            const QByteArray command = socket->readLine(kMaxCommand).trimmed();
            socket->write(command == "raise" || command == "quit" || command == "ping" ? "ok\n" : "unknown\n");
            socket->flush();
            if (command == "raise")
                Q_EMIT raiseRequested();
            else if (command == "quit")
                Q_EMIT quitRequested();
        });
    }
}
