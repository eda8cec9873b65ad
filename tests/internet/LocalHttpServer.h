#pragma once
// A small HTTP server on 127.0.0.1 for the web pane's tests: it serves fixed pages, logs
// the path of every request it gets (its access log) and stops when destroyed.

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>

class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    LocalHttpServer();

    // Serves body (text/html) at path ("/a.html").
    void addPage(const QString& path, const QByteArray& body) { m_pages.insert(path, body); }
    // The address of path on this server.
    QString url(const QString& path) const;
    // The paths requested so far, in order, without /favicon.ico.
    QStringList log() const;

private:
    void answer(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QString, QByteArray> m_pages;
    QStringList m_log;
};
