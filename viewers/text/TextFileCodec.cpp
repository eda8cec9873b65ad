#include "viewers/text/TextFileCodec.h"

#include <QStringDecoder>

namespace {

const char kBom[] = "\xEF\xBB\xBF";

TextFileCodec::LineEnd firstLineEnd(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            return TextFileCodec::LineEnd::Lf;
        if (bytes[i] == '\r')
            return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? TextFileCodec::LineEnd::CrLf : TextFileCodec::LineEnd::Cr;
    }
    return TextFileCodec::LineEnd::Lf;
}

} // namespace

QByteArray TextFileCodec::lineEndBytes(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf:
        return QByteArrayLiteral("\r\n");
    case LineEnd::Cr:
        return QByteArrayLiteral("\r");
    case LineEnd::Lf:
        break;
    }
    return QByteArrayLiteral("\n");
}

TextFileCodec::Decoded TextFileCodec::decode(const QByteArray& file)
{
    Decoded result;
    QByteArray bytes = file;
    result.format.byteOrderMark = bytes.startsWith(kBom);
    if (result.format.byteOrderMark)
        bytes.remove(0, 3);
    result.format.lineEnd = firstLineEnd(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError() || text.toUtf8() != bytes) {
        result.format.encoding = Encoding::Latin1;
        text = QString::fromLatin1(bytes);
    }
    if (result.format.byteOrderMark && result.format.encoding == Encoding::Latin1) {
        // Not UTF-8 after all: the three bytes are Latin-1 text like the rest.
        result.format.byteOrderMark = false;
        text.prepend(QString::fromLatin1(kBom));
    }
    const QString end = QString::fromLatin1(lineEndBytes(result.format.lineEnd));
    if (result.format.lineEnd != LineEnd::Lf)
        text.replace(end, QStringLiteral("\n"));
    result.text = std::move(text);
    return result;
}

QByteArray TextFileCodec::encode(const QString& text, Format& format)
{
    if (format.encoding == Encoding::Latin1) {
        for (QChar c : text) {
            if (c.unicode() > 0xFF) {
                format.encoding = Encoding::Utf8;
                break;
            }
        }
    }
    QByteArray bytes = format.encoding == Encoding::Utf8 ? text.toUtf8() : text.toLatin1();
    if (format.lineEnd != LineEnd::Lf)
        bytes.replace('\n', lineEndBytes(format.lineEnd));
    if (format.byteOrderMark && format.encoding == Encoding::Utf8)
        bytes.prepend(kBom);
    return bytes;
}
