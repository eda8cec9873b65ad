// The content search's block scan reads file bytes of any kind: it must never read outside
// the block and must agree with a plain byte-by-byte search. The first byte of the input
// sets the text's length; the text follows, then the block.
#include "search/ContentMatcher.h"

#include <cstdint>
#include <cstdlib>

namespace {

unsigned char fold(unsigned char c)
{
    if (c == 0)
        return 1;
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

bool plainSearch(const QByteArray& text, const QByteArray& block)
{
    for (qsizetype i = 0; i + text.size() <= block.size(); ++i) {
        qsizetype k = 0;
        while (k < text.size() && fold(block[i + k]) == fold(text[k]))
            ++k;
        if (k == text.size())
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t length = std::min<size_t>(1 + data[0] % 32, size - 1);
    const QByteArray text(reinterpret_cast<const char*>(data + 1), qsizetype(length));
    // The block is copied to its own allocation so that a read past its end is caught.
    const QByteArray block(reinterpret_cast<const char*>(data + 1 + length), qsizetype(size - 1 - length));
    if (text.isEmpty())
        return 0;
    if (ContentMatcher(text).containsIn(block.constData(), block.size()) != plainSearch(text, block))
        std::abort();
    return 0;
}
