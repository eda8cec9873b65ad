#include "viewers/text/TextFileCodec.h"

#include <QStringDecoder>

#include <array>
#include <utility>

namespace {

const char kBom[] = "\xEF\xBB\xBF";

// The characters a QTextDocument turns into a block break, and their stand-ins.
constexpr std::array<std::pair<char16_t, char16_t>, 4> kStandIns{{
    {u'\r', TextFileCodec::kCrStandIn},
    {0x2029, 0xE029}, // paragraph separator
    {0xFDD0, 0xE0D0}, // frame marks
    {0xFDD1, 0xE0D1},
}};

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

// The style every line end of the file has, or LF when they are mixed: a CR LF file has no
// LF without its CR, a CR file no LF at all.
TextFileCodec::LineEnd lineEndStyle(const QByteArray& bytes)
{
    const TextFileCodec::LineEnd first = firstLineEnd(bytes);
    if (first == TextFileCodec::LineEnd::Cr && bytes.contains('\n'))
        return TextFileCodec::LineEnd::Lf;
    if (first == TextFileCodec::LineEnd::CrLf) {
        for (qsizetype at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1)) {
            if (at == 0 || bytes[at - 1] != '\r')
                return TextFileCodec::LineEnd::Lf;
        }
    }
    return first;
}

bool holdsStandIn(const QString& text)
{
    for (QChar c : text) {
        for (const auto& [original, standIn] : kStandIns) {
            if (c.unicode() == standIn)
                return true;
        }
    }
    return false;
}

void swapStandIns(QString& text, bool toStandIns)
{
    for (QChar& c : text) {
        for (const auto& [original, standIn] : kStandIns) {
            if (c.unicode() == (toStandIns ? original : standIn)) {
                c = QChar(toStandIns ? standIn : original);
                break;
            }
        }
    }
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
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError() || text.toUtf8() != bytes || holdsStandIn(text)) {
        result.format.encoding = Encoding::Latin1;
        if (result.format.byteOrderMark) {
            // Not UTF-8 after all: the three bytes are Latin-1 text like the rest.
            result.format.byteOrderMark = false;
            bytes = file;
        }
        text = QString::fromLatin1(bytes);
    }
    result.format.lineEnd = lineEndStyle(bytes);
    if (result.format.lineEnd != LineEnd::Lf)
        text.replace(QString::fromLatin1(lineEndBytes(result.format.lineEnd)), QStringLiteral("\n"));
    swapStandIns(text, true);
    result.text = std::move(text);
    return result;
}

QByteArray TextFileCodec::encode(const QString& source, Format& format)
{
    QString text = source;
    swapStandIns(text, false);
    if (format.encoding == Encoding::Latin1) {
        for (QChar c : text) {
            if (c.unicode() > 0xFF) {
                format.encoding = Encoding::Utf8;
                break;
            }
        }
    }
    QByteArray bytes = format.encoding == Encoding::Utf8 ? text.toUtf8() : text.toLatin1();
    // Only the line breaks of the text become line ends: a CR kept as a character is
    // already its byte.
    if (format.lineEnd != LineEnd::Lf) {
        QByteArray out;
        out.reserve(bytes.size() + bytes.size() / 32);
        for (char c : bytes) {
            if (c == '\n')
                out += lineEndBytes(format.lineEnd);
            else
                out += c;
        }
        bytes = std::move(out);
    }
    if (format.byteOrderMark && format.encoding == Encoding::Utf8)
        bytes.prepend(kBom);
    return bytes;
}
