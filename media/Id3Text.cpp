#include "media/Id3Text.h"

#include "media/TextCodec.h"

namespace media::id3text {

namespace {

bool isWide(uint8_t encoding)
{
    return encoding == Utf16Bom || encoding == Utf16BE;
}

// The index of the terminator: the first zero byte, or for UTF-16 the first zero code unit.
qsizetype terminatorAt(uint8_t encoding, QByteArrayView bytes)
{
    if (!isWide(encoding))
        return bytes.indexOf('\0');
    const qsizetype length = beforeWideTerminator(bytes).size();
    return length < bytes.size() ? length : -1;
}

} // namespace

bool isEncoding(uint8_t encoding)
{
    return encoding <= Utf8;
}

QString decode(uint8_t encoding, QByteArrayView bytes)
{
    const qsizetype end = terminatorAt(encoding, bytes);
    if (end >= 0)
        bytes = bytes.first(end);
    switch (encoding) {
    case Utf16Bom:
        // Without a byte-order mark, little-endian is what the writers that omit it use.
        return decodeUtf16(bytes, false);
    case Utf16BE:
        return decodeUtf16(bytes, true);
    case Utf8:
        return QString::fromUtf8(bytes);
    default:
        return QString::fromLatin1(bytes);
    }
}

qsizetype skipString(uint8_t encoding, QByteArrayView bytes)
{
    const qsizetype end = terminatorAt(encoding, bytes);
    if (end < 0)
        return -1;
    return end + (isWide(encoding) ? 2 : 1);
}

QByteArray resynchronise(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        if (uint8_t(bytes[i]) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0)
            ++i;
    }
    return out;
}

} // namespace media::id3text
