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

// The first byte at or after data equal to a or b, nullptr when none before end.
const char* findEither(const char* data, const char* end, char a, char b)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    for (; data + 16 <= end; data += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, va), _mm_cmpeq_epi8(block, vb)));
        if (mask)
            return data + __builtin_ctz(unsigned(mask));
    }
#endif
    for (; data < end; ++data) {
        if (*data == a || *data == b)
            return data;
    }
    return nullptr;
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

bool ByteSearch::matchesAt(const char* at) const
{
    for (qsizetype i = 1; i < m_folded.size(); ++i) {
        if (foldAscii(at[i]) != m_folded[i])
            return false;
    }
    return true;
}

qsizetype ByteSearch::find(const char* data, qsizetype size, qsizetype from) const
{
    const qsizetype n = m_needle.size();
    if (n == 0 || from < 0 || size - from < n)
        return -1;
    if (m_matchCase) {
        const void* hit = ::memmem(data + from, size_t(size - from), m_needle.constData(), size_t(n));
        return hit ? static_cast<const char*>(hit) - data : -1;
    }
    const char lower = m_folded[0];
    const char upper = (lower >= 'a' && lower <= 'z') ? char(lower - ('a' - 'A')) : lower;
    const char* last = data + size - n + 1; // candidates start before last
    for (const char* at = data + from; at < last;) {
        at = findEither(at, last, lower, upper);
        if (!at)
            return -1;
        if (matchesAt(at))
            return at - data;
        ++at;
    }
    return -1;
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
