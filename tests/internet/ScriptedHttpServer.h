#pragma once
// An HTTP server on 127.0.0.1 that answers each request it gets with the next reply of a
// script, byte for byte as written (malformed ones too), and counts the connections made to
// it: the plain HTTP client's tests show with it what a server may send.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

class ScriptedHttpServer {
public:
    struct Reply {
        QByteArray bytes;
        bool close = false; // the server closes the connection once the bytes are sent
    };

    explicit ScriptedHttpServer(QList<Reply> replies);

    QString url(const QString& path) const;
    int connections() const { return m_connections; }
    // The request heads received, in order.
    const QList<QByteArray>& requests() const { return m_requests; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer m_server;
    QList<Reply> m_replies;
    QList<QByteArray> m_requests;
    int m_connections = 0;
};
