#include "viewers/text/HexRows.h"

namespace {
// "00000000  " then 16 * "xx " with one more space after the eighth, then " |".
constexpr int kOffsetWidth = 10;
constexpr int kCharStart = kOffsetWidth + HexRows::kBytesPerRow * 3 + 1 + 1;
const char kDigits[] = "0123456789abcdef";
} // namespace

QChar HexRows::shownChar(unsigned char byte, bool filterChars)
{
    if (byte >= 32 && byte < 127)
        return QChar(byte);
    if (!filterChars && byte >= 160)
        return QChar(byte);
    return QLatin1Char('.');
}

int HexRows::hexColumn(int byteIndex)
{
    return kOffsetWidth + byteIndex * 3 + (byteIndex >= 8 ? 1 : 0);
}

int HexRows::charColumn(int byteIndex)
{
    return kCharStart + byteIndex;
}

int HexRows::byteAtColumn(int column)
{
    if (column >= kCharStart && column < kCharStart + kBytesPerRow)
        return column - kCharStart;
    for (int i = 0; i < kBytesPerRow; ++i) {
        if (column >= hexColumn(i) && column < hexColumn(i) + 3)
            return i;
    }
    return -1;
}

QString HexRows::row(std::int64_t offset, QByteArrayView bytes, bool filterChars)
{
    const int count = int(std::min<qsizetype>(bytes.size(), kBytesPerRow));
    QString text = QString::number(qulonglong(offset), 16).rightJustified(8, QLatin1Char('0'));
    text += QLatin1String("  ");
    for (int i = 0; i < kBytesPerRow; ++i) {
        if (i == 8)
            text += QLatin1Char(' ');
        if (i < count) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            text += QLatin1Char(kDigits[byte >> 4]);
            text += QLatin1Char(kDigits[byte & 15]);
            text += QLatin1Char(' ');
        } else {
            text += QLatin1String("   ");
        }
    }
    text += QLatin1String(" |");
    for (int i = 0; i < count; ++i)
        text += shownChar(static_cast<unsigned char>(bytes[i]), filterChars);
    text += QLatin1Char('|');
    return text;
}
