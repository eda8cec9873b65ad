#include "platform/FileName.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // + byte (0x80..0xFF) -> U+DC80..U+DCFF
constexpr char16_t kReplacement = 0xFFFD;

bool isEscape(char16_t unit)
{
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

// The length of the well-formed UTF-8 sequence at bytes[i] (Unicode's table of well-formed
// byte sequences: no overlong forms, no encoded surrogates, nothing above U+10FFFF), or 0
// when the bytes there do not start one.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return i + k < bytes.size() ? quint8(bytes[i + k]) : 0u; };
    const unsigned lead = at(0);
    if (lead < 0x80)
        return 1;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    qsizetype length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size() || at(1) < low || at(1) > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k) {
        if (at(k) < 0x80 || at(k) > 0xBF)
            return 0;
    }
    return length;
}

bool isValidUtf8(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        if (quint8(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const qsizetype length = sequenceLength(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// Whether text holds a surrogate that is not half of a pair: an escape or a stray one.
bool hasLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

void appendUtf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// Well-formed UTF-8 as text. QString::fromUtf8 drops a leading byte order mark, which in a
// name is a character like any other.
QString fromUtf8(QByteArrayView bytes)
{
    static constexpr char kBom[] = "\xef\xbb\xbf";
    QString text;
    while (bytes.startsWith(kBom)) {
        text += QChar(0xFEFF);
        bytes = bytes.sliced(3);
    }
    return text + QString::fromUtf8(bytes);
}

} // namespace

QString FileName::decode(QByteArrayView bytes)
{
    // Almost every name is valid UTF-8: one check, then Qt's fast decoder.
    if (isValidUtf8(bytes))
        return fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype valid = 0; // start of the run of well-formed bytes not yet decoded
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = sequenceLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        text += fromUtf8(bytes.sliced(valid, i - valid));
        text += QChar(char16_t(kEscapeBase + quint8(bytes[i])));
        valid = ++i;
    }
    text += fromUtf8(bytes.sliced(valid));
    return text;
}

QByteArray FileName::encode(const QString& text)
{
    if (!hasLoneSurrogate(text))
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (isEscape(c.unicode())) {
            bytes += char(c.unicode() - kEscapeBase);
        } else {
            appendUtf8(bytes, c.isSurrogate() ? kReplacement : c.unicode());
        }
    }
    return bytes;
}

bool FileName::hasEscapes(QStringView text)
{
    for (const QChar c : text) {
        if (isEscape(c.unicode()))
            return true;
    }
    return false;
}

QString FileName::display(const QString& text)
{
    if (!hasEscapes(text))
        return text;
    QString shown = text;
    for (QChar& c : shown) {
        if (isEscape(c.unicode()))
            c = QChar(kReplacement);
    }
    return shown;
}

QUrl FileName::toUrl(const QString& path)
{
    return QUrl::fromEncoded("file://" + encode(path).toPercentEncoding("/"), QUrl::StrictMode);
}

QString FileName::fromUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return QString();
    return decode(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}
