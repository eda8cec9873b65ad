#include "internet/HttpResponseHead.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr int kMaxLengthDigits = 18; // below 2^63

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// A field name is a token: letters, digits and a few marks, nothing else.
bool isToken(QByteArrayView name)
{
    static constexpr std::string_view marks = "!#$%&'*+-.^_`|~";
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || marks.find(c) != std::string_view::npos;
    });
}

// Control bytes (other than a tab) have no place in a head line: a stray CR or NUL is how
// two readers of the same head are made to disagree.
bool hasControl(QByteArrayView line)
{
    return std::any_of(line.begin(), line.end(), [](char c) { return (uchar(c) < 0x20 && c != '\t') || c == 0x7f; });
}

std::optional<qint64> digitsValue(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > kMaxLengthDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Calls take(item) for each comma-separated item, trimmed, empty ones left out; stops at the
// first false.
template<typename Take>
bool forEachItem(QByteArrayView value, Take take)
{
    while (!value.isEmpty()) {
        const qsizetype comma = value.indexOf(',');
        const QByteArrayView item = trimmed(comma < 0 ? value : value.first(comma));
        value = comma < 0 ? QByteArrayView() : value.sliced(comma + 1);
        if (!item.isEmpty() && !take(item))
            return false;
    }
    return true;
}

class HeadReader {
public:
    std::optional<HttpResponseHead> read(QByteArrayView head, QString* error)
    {
        qsizetype at = 0;
        bool first = true;
        while (at < head.size()) {
            qsizetype end = head.indexOf('\n', at);
            if (end < 0)
                end = head.size();
            QByteArrayView line = head.sliced(at, end - at);
            at = end + 1;
            if (line.endsWith('\r'))
                line.chop(1);
            if (first) {
                first = false;
                if (!statusLine(line))
                    break;
            } else if (line.isEmpty()) {
                return m_head;
            } else if (!field(line)) {
                break;
            }
        }
        *error = m_error.isEmpty() ? QStringLiteral("The server's reply ends inside its head") : m_error;
        return std::nullopt;
    }

private:
    bool fail(const QString& why)
    {
        m_error = why;
        return false;
    }

    // "HTTP/1.1 200 OK", the reason may be empty or missing.
    bool statusLine(QByteArrayView line)
    {
        static constexpr QByteArrayView prefix = "HTTP/1.";
        if (hasControl(line) || line.size() < 12 || !line.startsWith(prefix) || line[8] != ' ' || (line.size() > 12 && line[12] != ' '))
            return fail(QStringLiteral("Not an HTTP/1 reply"));
        const std::optional<qint64> minor = digitsValue(line.sliced(7, 1));
        const std::optional<qint64> status = digitsValue(line.sliced(9, 3));
        if (!minor || !status || *status < 100 || *status > 599)
            return fail(QStringLiteral("Not an HTTP/1 reply"));
        m_head.minorVersion = int(*minor);
        m_head.status = int(*status);
        m_head.reason = line.size() > 13 ? line.sliced(13).toByteArray() : QByteArray();
        return true;
    }

    bool field(QByteArrayView line)
    {
        if (isBlank(line.front()))
            return fail(QStringLiteral("The server's reply has a folded header line"));
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.first(colon)) || hasControl(line))
            return fail(QStringLiteral("The server's reply has a bad header line"));
        const QByteArray name = line.first(colon).toByteArray().toLower();
        const QByteArrayView value = trimmed(line.sliced(colon + 1));
        if (name == "content-length")
            return contentLength(value);
        if (name == "transfer-encoding")
            return transferEncoding(value);
        if (name == "connection")
            return connection(value);
        if (name == "location") {
            if (m_sawLocation && QByteArrayView(m_head.location) != value)
                return fail(QStringLiteral("The server's reply has two different Location fields"));
            m_sawLocation = true;
            m_head.location = value.toByteArray();
        }
        return true;
    }

    // "Content-Length: 5" (or a list of the same value, as a proxy may join repeated fields);
    // every value must agree.
    bool contentLength(QByteArrayView value)
    {
        const bool ok = !value.isEmpty() && forEachItem(value, [this](QByteArrayView item) {
            const std::optional<qint64> length = digitsValue(item);
            if (!length || (m_head.contentLength && *m_head.contentLength != *length))
                return false;
            m_head.contentLength = length;
            return true;
        });
        return ok || fail(QStringLiteral("The server's reply has a bad Content-Length"));
    }

    // Only the chunked coding is undone (the request asks for nothing else), and it must come
    // last: a body whose end cannot be found is refused.
    bool transferEncoding(QByteArrayView value)
    {
        return forEachItem(value, [this](QByteArrayView item) {
            if (m_head.chunked)
                return fail(QStringLiteral("The server's reply has a transfer coding after chunked"));
            if (item.compare("chunked", Qt::CaseInsensitive) != 0)
                return fail(QStringLiteral("The server's reply uses the transfer coding \"%1\"").arg(QString::fromLatin1(item)));
            m_head.chunked = true;
            return true;
        });
    }

    bool connection(QByteArrayView value)
    {
        return forEachItem(value, [this](QByteArrayView item) {
            m_head.connectionClose = m_head.connectionClose || item.compare("close", Qt::CaseInsensitive) == 0;
            m_head.connectionKeepAlive = m_head.connectionKeepAlive || item.compare("keep-alive", Qt::CaseInsensitive) == 0;
            return true;
        });
    }

    HttpResponseHead m_head;
    QString m_error;
    bool m_sawLocation = false;
};

} // namespace

qsizetype HttpResponseHead::findEnd(QByteArrayView bytes, qsizetype from)
{
    const qsizetype limit = std::min(bytes.size(), kMaxSize);
    const char* data = bytes.data();
    // A blank line is "\n\n" or "\n\r\n"; its first "\n" may have come in the earlier bytes.
    qsizetype at = std::max<qsizetype>(0, from - 2);
    while (at < limit) {
        const void* found = std::memchr(data + at, '\n', size_t(limit - at));
        if (!found)
            return -1;
        const qsizetype newline = static_cast<const char*>(found) - data;
        if (newline + 1 < limit && data[newline + 1] == '\n')
            return newline + 2;
        if (newline + 2 < limit && data[newline + 1] == '\r' && data[newline + 2] == '\n')
            return newline + 3;
        at = newline + 1;
    }
    return -1;
}

std::optional<HttpResponseHead> HttpResponseHead::parse(QByteArrayView head, QString* error)
{
    if (head.size() > kMaxSize) {
        *error = QStringLiteral("The server's reply head is over 64 KiB");
        return std::nullopt;
    }
    return HeadReader().read(head, error);
}

HttpResponseHead::Framing HttpResponseHead::framing() const
{
    if (status < 200 || status == 204 || status == 304)
        return Framing::None;
    if (chunked)
        return Framing::Chunked;
    if (contentLength)
        return Framing::Length;
    return Framing::UntilClose;
}

bool HttpResponseHead::keepsConnection() const
{
    // A reply with both a length and chunked coding may have been read differently by a
    // proxy on the way: its connection is not trusted with another request.
    if (framing() == Framing::UntilClose || connectionClose || (chunked && contentLength))
        return false;
    return minorVersion >= 1 || connectionKeepAlive;
}

bool HttpResponseHead::isRedirect() const
{
    return (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) && !location.isEmpty();
}
