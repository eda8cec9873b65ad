#pragma once
// Undoes the chunked transfer coding of an HTTP/1.1 body as its bytes arrive, in pieces of
// any size: "<hex size>[;extensions]\r\n<data>\r\n" ... "0\r\n<trailer fields>\r\n". The
// bytes come from outside: a size line or trailer line is at most kMaxLine bytes, the trailer
// at most kMaxTrailer, a size at most 15 hex digits; anything else ends the decoding with
// an error instead of a guess. A bare "\n" is taken for "\r\n", as most clients do.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class HttpChunkDecoder {
public:
    static constexpr qsizetype kMaxLine = 4096;
    static constexpr qsizetype kMaxTrailer = 64 * 1024;

    // Decodes the next bytes of the body, appending its data to *data. Returns how many of
    // the bytes were used: all of them, unless the body ended (isDone) or was refused
    // (failed) inside them.
    qsizetype decode(QByteArrayView bytes, QByteArray* data);

    bool isDone() const { return m_state == State::Done; }
    bool failed() const { return m_state == State::Failed; }
    QString errorString() const { return m_error; }
    void reset() { *this = HttpChunkDecoder(); }

private:
    enum class State { Size, Data, DataEnd, Trailer, Done, Failed };

    // Gathers a line in m_line; true once its "\n" came (not kept), *used counts what it took.
    bool takeLine(QByteArrayView bytes, qsizetype* used);
    void lineDone(QByteArrayView line);
    void sizeLine(QByteArrayView line);
    void fail(const QString& why);

    State m_state = State::Size;
    QByteArray m_line;
    qint64 m_left = 0;
    qsizetype m_trailerBytes = 0;
    QString m_error;
};
