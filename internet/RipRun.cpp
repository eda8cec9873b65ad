#include "internet/RipRun.h"

#include "internet/RipAddress.h"
#include "platform/LocalFiles.h"

#include <QTimer>

#include <memory>

RipRun::RipRun(QObject* parent)
    : QObject(parent), m_download(new UrlDownload(this))
{
    connect(m_download, &UrlDownload::progressed, this, &RipRun::progressed);
    connect(m_download, &UrlDownload::finished, this, &RipRun::onDownloadFinished);
}

void RipRun::rip(const QString& example, const RipCounters& counters, const RipTarget& target)
{
    m_count = 0;
    Q_EMIT countChanged(m_count);
    auto walk = std::make_shared<RipAddressWalk>(example, counters);
    begin([walk] { return walk->next(); }, target);
}

void RipRun::downloadOne(const QString& address, const RipTarget& target)
{
    downloadList({address}, target);
}

void RipRun::downloadList(const QStringList& addresses, const RipTarget& target)
{
    auto next = std::make_shared<qsizetype>(0);
    begin([addresses, next]() -> std::optional<QString> {
        if (*next >= addresses.size())
            return std::nullopt;
        return addresses.at((*next)++);
    }, target);
}

void RipRun::stopCurrent()
{
    m_download->abort();
}

void RipRun::halt()
{
    if (!isRunning())
        return;
    m_halted = true;
    m_download->abort();
    if (!m_download->isRunning())
        QTimer::singleShot(0, this, &RipRun::startNext);
}

void RipRun::begin(Source source, const RipTarget& target)
{
    if (isRunning())
        return;
    m_source = std::move(source);
    m_target = target;
    m_halted = false;
    QTimer::singleShot(0, this, &RipRun::startNext);
}

void RipRun::startNext()
{
    if (!m_source || m_download->isRunning())
        return;
    const std::optional<QString> address = m_halted ? std::nullopt : m_source();
    if (!address) {
        m_source = nullptr;
        Q_EMIT finished(m_halted);
        return;
    }
    m_address = *address;
    Q_EMIT addressStarted(m_address);
    const QString name = m_target.keepName ? RipAddress::lastPart(m_address) : RipAddress::savedName(m_address, m_target.ext);
    m_download->start(m_address, m_target.folder, name);
}

void RipRun::onDownloadFinished(const DownloadOutcome& outcome)
{
    if (!outcome.ok) {
        Q_EMIT failed(m_address, outcome.error);
    } else {
        ++m_count;
        Q_EMIT saved(outcome.path, outcome.size);
        if (outcome.size < m_target.minSize && LocalFiles::remove(outcome.path)) {
            --m_count;
            Q_EMIT deleted(outcome.path);
        }
        Q_EMIT countChanged(m_count);
    }
    // Back to the event loop between addresses, so that a halt is seen before the next one.
    QTimer::singleShot(0, this, &RipRun::startNext);
}
