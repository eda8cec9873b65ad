#pragma once
// The head of an HTTP/1.x response (status line and header fields) as a server sent it. The
// bytes come from outside: the head is at most kMaxSize bytes, every field is checked, and a
// head that could be read two ways (a length that disagrees with itself, a folded line, a
// transfer coding we cannot undo) is refused instead of guessed at. Only the fields that the
// downloader acts on are kept.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

struct HttpResponseHead {
    static constexpr qsizetype kMaxSize = 64 * 1024;

    // How the body that follows the head ends.
    enum class Framing {
        None,       // no body: 1xx, 204, 304
        Length,     // contentLength bytes
        Chunked,    // chunked transfer coding
        UntilClose, // everything until the server closes the connection
    };

    int minorVersion = 1; // of HTTP/1.x
    int status = 0;
    QByteArray reason;
    std::optional<qint64> contentLength;
    bool chunked = false;
    bool connectionClose = false;     // "Connection: close"
    bool connectionKeepAlive = false; // "Connection: keep-alive" (what an HTTP/1.0 server must say)
    QByteArray location;

    // The length of the head at the start of bytes, its blank line included, or -1 while the
    // blank line has not come. from: where a previous call with fewer bytes left off (the
    // bytes before it are not searched again).
    static qsizetype findEnd(QByteArrayView bytes, qsizetype from = 0);
    // Parses a complete head (as findEnd measured it); nullopt with *error when it is not one.
    static std::optional<HttpResponseHead> parse(QByteArrayView head, QString* error);

    Framing framing() const;
    // Whether the connection may carry the next request once this body is read.
    bool keepsConnection() const;
    bool isRedirect() const;
};
