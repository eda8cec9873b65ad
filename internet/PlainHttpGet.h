#pragma once
// HttpGet for plain http:// addresses, in this thread's event loop: one non-blocking socket,
// kept open between requests to the same host and port, read in large pieces. Qt Network
// takes seconds for a thousand small files that this client fetches in a fraction of that:
// its HTTP code reads each reply head one byte per system call and hands every reply between
// two threads several times.
//
// Bodies framed by Content-Length, chunked coding or the end of the connection; redirects
// (301, 302, 303, 307, 308 with a Location) followed up to kMaxRedirects times, to https by
// handing the address back (redirectedAway); a request that finds a kept connection closed
// by the server is sent once more on a new one. Addresses that need more (https, a user name,
// a proxy) are left to Qt Network: see handles().

#include "internet/HttpChunkDecoder.h"
#include "internet/HttpGet.h"
#include "internet/HttpResponseHead.h"

#include <QHash>

class QTcpSocket;
class QTimer;

class PlainHttpGet : public HttpGet {
    Q_OBJECT
public:
    static constexpr int kMaxRedirects = 20;

    explicit PlainHttpGet(QObject* parent = nullptr);
    ~PlainHttpGet() override;

    // An http address without a user name, whose host and port no proxy stands before (asked
    // once per host and port).
    bool handles(const QUrl& url);
    void start(const QUrl& url, int stallTimeout) override;
    void abort() override;

    // The request sent for url.
    static QByteArray requestFor(const QUrl& url);

private:
    enum class State { Idle, Connecting, Head, Body };

    void request(const QUrl& url);
    void send();
    void onConnected();
    void onReadyRead();
    void onClosed();
    void onStalled();
    // Handles the bytes of the reply in progress; stops where the exchange ends.
    void consume(QByteArray bytes);
    // Adds bytes to the head; true once a final head is complete, *bytes then holds what
    // came after it.
    bool takeHead(QByteArray* bytes);
    void beginBody(const HttpResponseHead& head);
    // Passes on the body's part of bytes; returns how many bytes were the body's.
    qsizetype takeBody(const QByteArray& bytes);
    bool bodyComplete() const;
    void bodyDone(bool spareBytes);
    void follow(QUrl target);
    void finish(const QString& error);
    void fail(const QString& error);
    void dropConnection();
    void restartStallTimer();

    QTcpSocket* m_socket = nullptr;
    QString m_socketKey; // "host:port" of m_socket
    QHash<QString, bool> m_direct;
    QTimer* m_stallTimer = nullptr;
    State m_state = State::Idle;
    quint64 m_serial = 0; // changes with every request and every end
    QUrl m_url;
    QByteArray m_head;
    qsizetype m_headSearched = 0;
    HttpResponseHead m_reply;
    HttpChunkDecoder m_chunks;
    qint64 m_left = 0;
    QUrl m_redirect; // where the reply being read (and skipped) redirects to
    int m_redirects = 0;
    bool m_reused = false;   // the request went out on a kept connection
    bool m_answered = false; // a byte of the reply came
};
