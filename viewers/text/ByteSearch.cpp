#include "viewers/text/ByteSearch.h"

#include <QCoreApplication>

#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::int64_t kChunkBytes = 4 << 20;

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

bool equalAt(const char* at, const QByteArray& needle, bool fold)
{
    if (!fold)
        return std::memcmp(at, needle.constData(), size_t(needle.size())) == 0;
    for (qsizetype i = 0; i < needle.size(); ++i) {
        if (foldAscii(at[i]) != needle[i])
            return false;
    }
    return true;
}

#if defined(__SSE2__)
__m128i foldBlock(__m128i block)
{
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(block, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(block, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}
#endif

// The first place at or after from where needle starts (its letters small when fold):
// sixteen places at a time, a place is a candidate when the needle's first and last bytes
// match there, and only candidates are compared whole.
qsizetype findBlocks(const char* data, qsizetype size, qsizetype from, const QByteArray& needle, bool fold)
{
    const qsizetype n = needle.size();
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[n - 1]);
    for (; i + n - 1 + 16 <= size; i += 16) {
        __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
        if (fold) {
            head = foldBlock(head);
            tail = foldBlock(tail);
        }
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last))));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (equalAt(data + i + bit, needle, fold))
                return i + bit;
            mask &= mask - 1;
        }
    }
#endif
    for (; i + n <= size; ++i) {
        if (equalAt(data + i, needle, fold))
            return i;
    }
    return -1;
}

} // namespace

ByteSearch::ByteSearch(QByteArray needle, bool matchCase)
    : m_needle(std::move(needle))
    , m_matchCase(matchCase)
{
    if (!matchCase) {
        m_folded = m_needle;
        for (char& c : m_folded)
            c = foldAscii(c);
    }
}

qsizetype ByteSearch::find(const char* data, qsizetype size, qsizetype from) const
{
    const qsizetype n = m_needle.size();
    if (n == 0 || from < 0 || size - from < n)
        return -1;
    return findBlocks(data, size, from, m_matchCase ? m_needle : m_folded, !m_matchCase);
}

std::int64_t ByteSearch::findIn(const PagedFile& file, std::int64_t from,
                                const std::function<bool(std::int64_t)>& progress) const
{
    const qsizetype n = m_needle.size();
    if (n == 0)
        return -1;
    std::vector<char> buffer(size_t(kChunkBytes + n));
    for (std::int64_t start = std::max<std::int64_t>(from, 0); start < file.size();) {
        const std::int64_t got = file.readInto(start, buffer.data(), std::int64_t(buffer.size()));
        if (got <= 0)
            return -1;
        const qsizetype hit = find(buffer.data(), qsizetype(got));
        if (hit >= 0)
            return start + hit;
        if (got < n || start + got >= file.size())
            return -1;
        // The next chunk overlaps this one by the needle's length less one byte, so a match
        // across the boundary is seen whole.
        start += got - (n - 1);
        if (progress && !progress(start - from))
            return -1;
    }
    return -1;
}

bool TextSearchJob::plan()
{
    addTotal(1, std::max<std::int64_t>(0, m_file.size() - m_from));
    setCurrentItem(QCoreApplication::translate("TextSearch", "Searching"));
    return true;
}

void TextSearchJob::execute()
{
    m_found = m_search.findIn(m_file, m_from, [this](std::int64_t searched) {
        setItemBytes(searched);
        return !stopped();
    });
    itemDone();
}
