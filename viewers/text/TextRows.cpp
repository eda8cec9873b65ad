#include "viewers/text/TextRows.h"

#include <QStringDecoder>

#include <cstring>

namespace {
// A line longer than this is not searched back to its start: the row boundaries are then
// counted from where the backward search stopped.
constexpr std::int64_t kMaxBackScan = 1 << 20;
constexpr std::int64_t kBackWindow = 64 * 1024;

// The bytes a UTF-16 unit stands for in UTF-8: a pair's high half carries all four.
int utf8Length(QChar c)
{
    if (c.isHighSurrogate())
        return 4;
    if (c.isLowSurrogate())
        return 0;
    return c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
}
} // namespace

std::int64_t TextRows::nextRow(std::int64_t rowStart) const
{
    const QByteArray bytes = m_file.read(rowStart, kMaxRowBytes);
    const void* lf = std::memchr(bytes.constData(), '\n', size_t(bytes.size()));
    if (lf)
        return rowStart + (static_cast<const char*>(lf) - bytes.constData()) + 1;
    return rowStart + bytes.size();
}

std::int64_t TextRows::lineStartOf(std::int64_t offset) const
{
    std::int64_t end = offset;
    const std::int64_t limit = std::max<std::int64_t>(0, offset - kMaxBackScan);
    while (end > limit) {
        const std::int64_t from = std::max(limit, end - kBackWindow);
        const QByteArray bytes = m_file.read(from, end - from);
        if (bytes.isEmpty())
            break;
        const void* lf = ::memrchr(bytes.constData(), '\n', size_t(bytes.size()));
        if (lf)
            return from + (static_cast<const char*>(lf) - bytes.constData()) + 1;
        end = from;
    }
    return limit;
}

std::int64_t TextRows::rowStartOf(std::int64_t offset) const
{
    offset = std::clamp<std::int64_t>(offset, 0, m_file.size());
    const std::int64_t line = lineStartOf(offset);
    return line + (offset - line) / kMaxRowBytes * kMaxRowBytes;
}

std::int64_t TextRows::previousRow(std::int64_t rowStart) const
{
    return rowStart <= 0 ? 0 : rowStartOf(rowStart - 1);
}

TextRows::Shown TextRows::shown(std::int64_t rowStart) const
{
    const std::int64_t end = nextRow(rowStart);
    QByteArray bytes = m_file.read(rowStart, end - rowStart);
    while (!bytes.isEmpty() && (bytes.endsWith('\n') || bytes.endsWith('\r')))
        bytes.chop(1);
    Shown row;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    const bool isUtf8 = !utf8.hasError();
    qsizetype at = 0;
    auto add = [&](QChar c, std::int64_t byte) {
        row.text += c;
        row.byteOf.push_back(byte);
    };
    for (qsizetype i = 0; i < (isUtf8 ? decoded.size() : bytes.size()); ++i) {
        const std::int64_t byte = rowStart + at;
        const QChar c = isUtf8 ? decoded[i] : QChar(static_cast<unsigned char>(bytes[i]));
        if (c == QLatin1Char('\t')) {
            do
                add(QLatin1Char(' '), byte);
            while (row.text.size() % kTabWidth != 0);
        } else {
            add(c.unicode() < 32 ? QChar(0x00B7) : c, byte);
        }
        at += isUtf8 ? utf8Length(c) : 1;
    }
    row.byteOf.push_back(rowStart + bytes.size());
    return row;
}
