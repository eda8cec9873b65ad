#pragma once
// The ripper's runs, one request at a time, driven by the event loop of the thread the
// object lives in: a rip (every address of the counter walk), Download One (one address)
// and List of Links DL (every address of a list). Each address is saved under
// RipAddress::savedName in the target folder (or the first free "[n]name"); a kept file
// smaller than the minimum size is deleted and uncounted. A failed download saves and
// counts nothing, and the run goes on with the next address.
//
// stopCurrent() aborts only the download in progress ("stop"); halt() ends the whole run
// ("Halt"). The saved count is reset when a rip starts, not by the other two runs.

#include "internet/RipCounter.h"
#include "internet/UrlDownload.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

struct RipTarget {
    QString folder;
    QString ext = QStringLiteral("cip");
    qint64 minSize = 0; // a kept file smaller than this is deleted
    // Saved under the raw last part of the address instead of the ripper's name with ext.
    bool keepName = false;
};

class RipRun : public QObject {
    Q_OBJECT
public:
    explicit RipRun(QObject* parent = nullptr);

    void setStallTimeout(int milliseconds) { m_download->setStallTimeout(milliseconds); }
    int savedCount() const { return m_count; }
    bool isRunning() const { return bool(m_source); }

    void rip(const QString& example, const RipCounters& counters, const RipTarget& target);
    void downloadOne(const QString& address, const RipTarget& target);
    void downloadList(const QStringList& addresses, const RipTarget& target);

public Q_SLOTS:
    void stopCurrent();
    void halt();

Q_SIGNALS:
    // The address whose download starts now.
    void addressStarted(const QString& address);
    void progressed(qint64 received, qint64 total);
    // A download was saved at path (and counted).
    void saved(const QString& path, qint64 size);
    // The saved file at path was under the minimum size and has been deleted (and uncounted).
    void deleted(const QString& path);
    void failed(const QString& address, const QString& error);
    void countChanged(int count);
    // The run is over: every address done, or halted.
    void finished(bool halted);

private:
    using Source = std::function<std::optional<QString>()>;
    void begin(Source source, const RipTarget& target);
    void startNext();
    void onDownloadFinished(const DownloadOutcome& outcome);

    UrlDownload* m_download = nullptr;
    Source m_source;
    RipTarget m_target;
    QString m_address;
    int m_count = 0;
    bool m_halted = false;
};
