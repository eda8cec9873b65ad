#include "internet/PlainHttpGet.h"

#include <QNetworkProxyFactory>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr int kDefaultPort = 80;
// What the socket may hold before it waits for us: the memory a download needs stays small
// whatever the size of the file, and each read takes whatever has come, in one piece.
constexpr qint64 kSocketBuffer = 1 << 20;

QString keyOf(const QUrl& url)
{
    return url.host() + QLatin1Char(':') + QString::number(url.port(kDefaultPort));
}

} // namespace

PlainHttpGet::PlainHttpGet(QObject* parent)
    : HttpGet(parent), m_stallTimer(new QTimer(this))
{
    m_stallTimer->setSingleShot(true);
    connect(m_stallTimer, &QTimer::timeout, this, &PlainHttpGet::onStalled);
}

PlainHttpGet::~PlainHttpGet()
{
    dropConnection();
}

bool PlainHttpGet::handles(const QUrl& url)
{
    if (url.scheme() != QLatin1String("http") || url.host().isEmpty() || !url.userInfo().isEmpty())
        return false;
    const QString key = keyOf(url);
    auto known = m_direct.constFind(key);
    if (known == m_direct.cend()) {
        const QList<QNetworkProxy> proxies = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url));
        known = m_direct.insert(key, proxies.isEmpty() || proxies.first().type() == QNetworkProxy::NoProxy);
    }
    return *known;
}

void PlainHttpGet::start(const QUrl& url, int stallTimeout)
{
    abort();
    m_stallTimer->setInterval(stallTimeout);
    m_redirects = 0;
    request(url);
}

void PlainHttpGet::abort()
{
    if (m_state == State::Idle)
        return;
    // The reply still on its way would be read as the next one's: the connection goes.
    dropConnection();
    m_stallTimer->stop();
    m_state = State::Idle;
    ++m_serial;
}

QByteArray PlainHttpGet::requestFor(const QUrl& url)
{
    // The fully encoded forms hold no blank, CR or LF: nothing in the address can end a line.
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (url.port() >= 0 && url.port() != kDefaultPort)
        host += ':' + QByteArray::number(url.port());
    return "GET " + target + " HTTP/1.1\r\nHost: " + host
        + "\r\nUser-Agent: Mozilla/5.0\r\nAccept: */*\r\nAccept-Encoding: identity\r\nConnection: keep-alive\r\n\r\n";
}

void PlainHttpGet::request(const QUrl& url)
{
    ++m_serial;
    m_url = url;
    m_head.clear();
    m_headSearched = 0;
    m_redirect.clear();
    m_answered = false;
    const QString key = keyOf(url);
    if (m_socket && m_socketKey == key && m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesAvailable() == 0) {
        m_reused = true;
        send();
        return;
    }
    dropConnection();
    m_reused = false;
    m_socket = new QTcpSocket(this);
    m_socketKey = key;
    m_socket->setReadBufferSize(kSocketBuffer);
    connect(m_socket, &QTcpSocket::connected, this, &PlainHttpGet::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &PlainHttpGet::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &PlainHttpGet::onClosed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &PlainHttpGet::onClosed);
    m_state = State::Connecting;
    restartStallTimer();
    m_socket->connectToHost(url.host(), quint16(url.port(kDefaultPort)));
}

void PlainHttpGet::onConnected()
{
    if (m_state != State::Connecting)
        return;
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    send();
}

void PlainHttpGet::send()
{
    m_state = State::Head;
    restartStallTimer();
    // Written at once, not on the next turn of the event loop; a failure comes back through
    // onClosed.
    m_socket->write(requestFor(m_url));
    m_socket->flush();
}

void PlainHttpGet::onReadyRead()
{
    if (m_state == State::Idle) {
        // Bytes on a kept connection that nobody asked for: it can carry no next request.
        dropConnection();
        return;
    }
    if (m_state == State::Connecting)
        return;
    restartStallTimer();
    m_answered = true;
    consume(m_socket->readAll());
}

void PlainHttpGet::onClosed()
{
    QTcpSocket* socket = m_socket;
    if (m_state == State::Head || m_state == State::Body) {
        // What came before the end is still the reply's.
        const quint64 serial = m_serial;
        if (socket->bytesAvailable() > 0) {
            m_answered = true;
            consume(socket->readAll());
        }
        if (serial != m_serial || m_socket != socket)
            return;
    }
    switch (m_state) {
    case State::Idle:
        dropConnection();
        break;
    case State::Connecting:
        fail(socket->errorString());
        break;
    case State::Head:
        // A kept connection that the server closed meanwhile: once more on a new one.
        if (m_reused && !m_answered) {
            dropConnection();
            request(m_url);
        } else {
            fail(QStringLiteral("The server closed the connection without a reply"));
        }
        break;
    case State::Body:
        if (m_reply.framing() == HttpResponseHead::Framing::UntilClose)
            bodyDone(false);
        else
            fail(QStringLiteral("The server closed the connection before the end of the reply"));
        break;
    }
}

void PlainHttpGet::onStalled()
{
    if (m_state != State::Idle)
        fail(QStringLiteral("The server sent nothing for %1 seconds").arg(m_stallTimer->interval() / 1000.0));
}

void PlainHttpGet::consume(QByteArray bytes)
{
    const quint64 serial = m_serial;
    while (serial == m_serial) {
        if (m_state == State::Head) {
            if (bytes.isEmpty() || !takeHead(&bytes))
                return;
            continue;
        }
        if (m_state != State::Body)
            return;
        const qsizetype used = takeBody(bytes);
        // The receiver of the bytes may have aborted.
        if (serial == m_serial && bodyComplete())
            bodyDone(used < bytes.size());
        return;
    }
}

bool PlainHttpGet::takeHead(QByteArray* bytes)
{
    m_head += *bytes;
    bytes->clear();
    const qsizetype end = HttpResponseHead::findEnd(m_head, m_headSearched);
    if (end < 0) {
        if (m_head.size() >= HttpResponseHead::kMaxSize)
            fail(QStringLiteral("The server's reply head is over 64 KiB"));
        m_headSearched = m_head.size();
        return false;
    }
    QString error;
    const std::optional<HttpResponseHead> head = HttpResponseHead::parse(QByteArrayView(m_head).first(end), &error);
    *bytes = m_head.mid(end);
    m_head.clear();
    m_headSearched = 0;
    if (!head) {
        fail(error);
        return false;
    }
    // An interim reply (100 Continue and the like): the final one follows.
    if (head->status < 200) {
        if (head->status == 101)
            fail(QStringLiteral("The server switched to another protocol"));
        return head->status != 101;
    }
    beginBody(*head);
    return true;
}

void PlainHttpGet::beginBody(const HttpResponseHead& head)
{
    m_reply = head;
    m_state = State::Body;
    m_left = head.contentLength.value_or(0);
    m_chunks.reset();
    if (head.isRedirect()) {
        // Its body is read and dropped, so that the connection can carry the next request.
        m_redirect = m_url.resolved(QUrl::fromEncoded(head.location));
        return;
    }
    const HttpResponseHead::Framing framing = head.framing();
    const qint64 length = framing == HttpResponseHead::Framing::Length ? m_left : framing == HttpResponseHead::Framing::None ? 0 : -1;
    Q_EMIT responded(head.status, head.reason, length);
}

qsizetype PlainHttpGet::takeBody(const QByteArray& bytes)
{
    QByteArray data;
    qsizetype used = 0;
    switch (m_reply.framing()) {
    case HttpResponseHead::Framing::None:
        break;
    case HttpResponseHead::Framing::Length:
        used = qsizetype(std::min<qint64>(m_left, bytes.size()));
        m_left -= used;
        data = used == bytes.size() ? bytes : bytes.first(used);
        break;
    case HttpResponseHead::Framing::Chunked:
        used = m_chunks.decode(bytes, &data);
        if (m_chunks.failed()) {
            fail(m_chunks.errorString());
            return used;
        }
        break;
    case HttpResponseHead::Framing::UntilClose:
        used = bytes.size();
        data = bytes;
        break;
    }
    if (!data.isEmpty() && m_redirect.isEmpty())
        Q_EMIT received(data);
    return used;
}

bool PlainHttpGet::bodyComplete() const
{
    switch (m_reply.framing()) {
    case HttpResponseHead::Framing::None:
        return true;
    case HttpResponseHead::Framing::Length:
        return m_left == 0;
    case HttpResponseHead::Framing::Chunked:
        return m_chunks.isDone();
    case HttpResponseHead::Framing::UntilClose:
        return false;
    }
    return false;
}

void PlainHttpGet::bodyDone(bool spareBytes)
{
    // Bytes past the end of the body mean the two sides disagree about where it ends.
    if (!m_reply.keepsConnection() || spareBytes || (m_socket && m_socket->bytesAvailable() > 0))
        dropConnection();
    if (m_redirect.isEmpty())
        finish(QString());
    else
        follow(std::exchange(m_redirect, QUrl()));
}

void PlainHttpGet::follow(QUrl target)
{
    const QString scheme = target.scheme();
    if (++m_redirects > kMaxRedirects) {
        finish(QStringLiteral("Too many redirects"));
    } else if (!target.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        finish(QStringLiteral("A redirect to an address that is not http or https: ") + target.toDisplayString());
    } else if (handles(target)) {
        request(target);
    } else {
        // https, or a host behind a proxy: Qt Network goes on from here.
        m_stallTimer->stop();
        m_state = State::Idle;
        ++m_serial;
        Q_EMIT redirectedAway(target);
    }
}

void PlainHttpGet::finish(const QString& error)
{
    m_stallTimer->stop();
    m_state = State::Idle;
    ++m_serial;
    Q_EMIT ended(error);
}

void PlainHttpGet::fail(const QString& error)
{
    dropConnection();
    finish(error);
}

void PlainHttpGet::dropConnection()
{
    if (!m_socket)
        return;
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    // It may be the sender of the signal being handled.
    socket->deleteLater();
}

void PlainHttpGet::restartStallTimer()
{
    if (m_stallTimer->interval() > 0)
        m_stallTimer->start();
}
