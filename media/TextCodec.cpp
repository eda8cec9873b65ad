#include "media/TextCodec.h"

#include "platform/ByteOrder.h"

namespace media {

using namespace byteorder;

QString decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    if (bytes.size() >= 2) {
        const uint16_t mark = readLE16(bytes, 0);
        if (mark == 0xFEFF || mark == 0xFFFE) {
            bigEndian = mark == 0xFFFE;
            bytes = bytes.sliced(2);
        }
    }
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const uint16_t unit = bigEndian ? readBE16(bytes, i) : readLE16(bytes, i);
        text.append(QChar(unit));
    }
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

QByteArrayView beforeWideTerminator(QByteArrayView bytes)
{
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return bytes.first(i);
    }
    return bytes;
}

QString trimmedText(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.sliced(first, last - first);
}

} // namespace media
