// A text file opened in the editor and saved untouched: decode, then encode, must give the
// same bytes, and the text must hold no character the editor's document would turn into
// a line break of its own.
#include "viewers/text/HexRows.h"
#include "viewers/text/TextFileCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TextFileCodec::Decoded decoded = TextFileCodec::decode(bytes);
    for (QChar c : decoded.text) {
        if (c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            std::abort();
    }
    TextFileCodec::Format format = decoded.format;
    if (TextFileCodec::encode(decoded.text, format) != bytes)
        std::abort();
    // The viewer's rows of the same bytes: a row never grows with what it shows.
    for (qsizetype at = 0; at < bytes.size(); at += HexRows::kBytesPerRow) {
        if (HexRows::row(at, QByteArrayView(bytes).sliced(at, std::min<qsizetype>(16, bytes.size() - at)), false).size() > 80)
            std::abort();
    }
    return 0;
}
