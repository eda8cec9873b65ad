#include "internet/QtHttpGet.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

// What the reply may hold before it waits for us: the memory a download needs stays small
// whatever the size of the file.
constexpr qint64 kReadBuffer = 1 << 20;

} // namespace

QtHttpGet::QtHttpGet(QObject* parent)
    : HttpGet(parent), m_network(new QNetworkAccessManager(this))
{
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtHttpGet::~QtHttpGet()
{
    abort();
}

void QtHttpGet::start(const QUrl& url, int stallTimeout)
{
    abort();
    QNetworkRequest request(url);
    request.setTransferTimeout(stallTimeout);
    m_announced = false;
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(kReadBuffer);
    connect(m_reply, &QNetworkReply::readyRead, this, &QtHttpGet::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &QtHttpGet::onFinished);
}

void QtHttpGet::abort()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void QtHttpGet::announce()
{
    if (m_announced)
        return;
    m_announced = true;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    Q_EMIT responded(m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                     m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray(), length.isValid() ? length.toLongLong() : -1);
}

void QtHttpGet::onReadyRead()
{
    QNetworkReply* reply = m_reply;
    announce();
    // The receiver may abort from either signal: the reply is then no longer ours.
    if (m_reply == reply)
        Q_EMIT received(reply->readAll());
}

void QtHttpGet::onFinished()
{
    QNetworkReply* reply = m_reply;
    announce();
    if (m_reply != reply)
        return;
    if (reply->error() == QNetworkReply::NoError) {
        const QByteArray rest = reply->readAll();
        if (!rest.isEmpty())
            Q_EMIT received(rest);
        if (m_reply != reply)
            return;
    }
    m_reply = nullptr;
    reply->deleteLater();
    Q_EMIT ended(reply->error() == QNetworkReply::NoError ? QString() : reply->errorString());
}
