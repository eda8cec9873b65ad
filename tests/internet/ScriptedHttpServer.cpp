#include "ScriptedHttpServer.h"

#include <QTcpSocket>

ScriptedHttpServer::ScriptedHttpServer(QList<Reply> replies)
    : m_replies(std::move(replies))
{
    m_server.listen(QHostAddress::LocalHost);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString ScriptedHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void ScriptedHttpServer::answer(QTcpSocket* socket)
{
    QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
    for (qsizetype end = pending.indexOf("\r\n\r\n"); end >= 0; end = pending.indexOf("\r\n\r\n")) {
        m_requests << pending.left(end + 4);
        pending.remove(0, end + 4);
        if (m_replies.isEmpty()) {
            socket->disconnectFromHost();
            return;
        }
        const Reply reply = m_replies.takeFirst();
        socket->write(reply.bytes);
        if (reply.close) {
            socket->disconnectFromHost();
            return;
        }
    }
    socket->setProperty("pending", pending);
}
