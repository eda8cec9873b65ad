#pragma once
// One GET at a time over some HTTP transport, reported as it goes: the final reply's status
// (redirects already followed), the body's bytes, and the end. UrlDownload drives it and
// decides what is saved. abort() is silent: the caller that aborts already knows.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class HttpGet : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~HttpGet() override;

    // A transfer that receives nothing for stallTimeout ms fails (0: never).
    virtual void start(const QUrl& url, int stallTimeout) = 0;
    virtual void abort() = 0;

Q_SIGNALS:
    // The final reply's status line; length is -1 when the reply has none.
    void responded(int status, const QByteArray& reason, qint64 length);
    void received(const QByteArray& bytes);
    // The transfer is over: error is empty when the whole body came.
    void ended(const QString& error);
    // A redirect leads where this transport does not go: the caller goes on with url.
    void redirectedAway(const QUrl& url);
};
