#pragma once
// One address downloaded into one file: the body is streamed to a temporary file in the
// target folder and linked in under the first free name (name, "[0]name", "[1]name", ...)
// only when it is complete, never replacing a file. An HTTP error status (4xx, 5xx), a
// network error, an abort or a stalled transfer saves nothing and leaves no partial file.
// Plain http:// addresses go through PlainHttpGet, the rest (https, proxies, user names)
// through Qt Network; redirects never lead from https to http.
//
// The object works in the event loop of its thread; run it on a worker thread to keep a
// window's thread free of the disk writes.

#include "platform/FileDescriptor.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

class HttpGet;
class PlainHttpGet;
class QtHttpGet;

struct DownloadOutcome {
    bool ok = false;
    QString path;  // the file written (its free name), when ok
    qint64 size = 0;
    QString error; // why nothing was saved, when not ok
    bool aborted = false;
};

class UrlDownload : public QObject {
    Q_OBJECT
public:
    explicit UrlDownload(QObject* parent = nullptr);
    ~UrlDownload() override;

    // A transfer that receives nothing for this long fails (0: never).
    void setStallTimeout(int milliseconds) { m_stallTimeout = milliseconds; }

    // Starts the download of address into folder under name (or the first free "[n]name").
    // One download at a time: a start while one runs fails at once.
    void start(const QString& address, const QString& folder, const QString& name);
    bool isRunning() const { return m_get; }

public Q_SLOTS:
    // Aborts the download in progress (finished reports it aborted).
    void abort();

Q_SIGNALS:
    // Bytes written so far (the first chunk at once, then a few times a second); total is -1
    // when the reply has no length.
    void progressed(qint64 received, qint64 total);
    void finished(const DownloadOutcome& outcome);

private:
    void onResponded(int status, const QByteArray& reason, qint64 length);
    void onReceived(const QByteArray& bytes);
    void onEnded(const QString& error);
    void onRedirectedAway(const QUrl& url);
    // Ends the download in progress with outcome (its transfer already over or aborted).
    void finish(DownloadOutcome outcome);
    bool linkIn(DownloadOutcome& outcome);
    // The temporary file in the target folder, written through its descriptor so that a
    // folder whose name is not UTF-8 is reached by its bytes.
    bool openTemp(QString* error);
    void removeTemp();

    PlainHttpGet* m_plain = nullptr;
    QtHttpGet* m_qt = nullptr;
    HttpGet* m_get = nullptr; // the transfer in progress
    FileDescriptor m_fd;
    QString m_tempPath;
    QString m_folder;
    QString m_name;
    int m_status = 0;
    QByteArray m_reason;
    qint64 m_total = -1;
    qint64 m_received = 0;
    QElapsedTimer m_progressClock;
    int m_stallTimeout = 30000;
};
