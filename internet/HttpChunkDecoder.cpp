#include "internet/HttpChunkDecoder.h"

#include <algorithm>

namespace {

constexpr int kMaxSizeDigits = 15; // below 2^60: adding to a count never overflows

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

qsizetype HttpChunkDecoder::decode(QByteArrayView bytes, QByteArray* data)
{
    qsizetype at = 0;
    while (at < bytes.size() && m_state != State::Done && m_state != State::Failed) {
        if (m_state == State::Data) {
            const qsizetype take = qsizetype(std::min<qint64>(m_left, bytes.size() - at));
            data->append(bytes.sliced(at, take));
            at += take;
            m_left -= take;
            if (m_left == 0)
                m_state = State::DataEnd;
            continue;
        }
        qsizetype used = 0;
        const bool complete = takeLine(bytes.sliced(at), &used);
        at += used;
        if (complete) {
            QByteArrayView line(m_line);
            if (line.endsWith('\r'))
                line.chop(1);
            lineDone(line);
            m_line.clear();
        }
    }
    return at;
}

bool HttpChunkDecoder::takeLine(QByteArrayView bytes, qsizetype* used)
{
    const qsizetype newline = bytes.indexOf('\n');
    const qsizetype take = newline < 0 ? bytes.size() : newline;
    if (m_line.size() + take > kMaxLine) {
        fail(QStringLiteral("A line of the chunked body is over %1 bytes").arg(kMaxLine));
        *used = 0;
        return false;
    }
    m_line.append(bytes.first(take));
    *used = newline < 0 ? take : take + 1;
    return newline >= 0;
}

void HttpChunkDecoder::lineDone(QByteArrayView line)
{
    switch (m_state) {
    case State::Size:
        sizeLine(line);
        break;
    case State::DataEnd:
        if (line.isEmpty())
            m_state = State::Size;
        else
            fail(QStringLiteral("A chunk of the body is longer than its size says"));
        break;
    case State::Trailer:
        m_trailerBytes += line.size() + 2;
        if (m_trailerBytes > kMaxTrailer)
            fail(QStringLiteral("The trailer of the chunked body is over %1 bytes").arg(kMaxTrailer));
        else if (line.isEmpty())
            m_state = State::Done;
        break;
    case State::Data:
    case State::Done:
    case State::Failed:
        break;
    }
}

// "1a2b" or "1a2b;name=value" (extensions are ignored), blanks allowed before the ";".
void HttpChunkDecoder::sizeLine(QByteArrayView line)
{
    qint64 size = 0;
    qsizetype digits = 0;
    while (digits < line.size() && hexValue(line[digits]) >= 0) {
        if (digits == kMaxSizeDigits) {
            fail(QStringLiteral("A chunk size of the body is too large"));
            return;
        }
        size = size * 16 + hexValue(line[digits]);
        ++digits;
    }
    QByteArrayView rest = line.sliced(digits);
    while (!rest.isEmpty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest = rest.sliced(1);
    if (digits == 0 || (!rest.isEmpty() && rest.front() != ';')) {
        fail(QStringLiteral("A chunk size of the body is not a number"));
        return;
    }
    m_left = size;
    m_state = size == 0 ? State::Trailer : State::Data;
}

void HttpChunkDecoder::fail(const QString& why)
{
    m_state = State::Failed;
    m_error = why;
}
