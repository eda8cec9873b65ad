#include "search/ContentMatcher.h"

#include "platform/FileDescriptor.h"

#include <array>
#include <cerrno>

#include <emmintrin.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ASCII upper case; NUL reads as byte 1.
constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - ('a' - 'A') : i);
    table[0] = 1;
    return table;
}
constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

// The other byte that folds to the same value (itself when there is none).
unsigned char otherForm(unsigned char folded)
{
    if (folded >= 'A' && folded <= 'Z')
        return static_cast<unsigned char>(folded + ('a' - 'A'));
    if (folded == 1)
        return 0;
    return folded;
}

} // namespace

ContentMatcher::ContentMatcher(const QByteArray& text)
    : m_text(text)
{
    m_needle.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        m_needle[i] = static_cast<char>(kFold[static_cast<unsigned char>(text[i])]);
    if (m_needle.isEmpty())
        return;
    m_first[0] = static_cast<unsigned char>(m_needle.front());
    m_first[1] = otherForm(m_first[0]);
    m_last[0] = static_cast<unsigned char>(m_needle.back());
    m_last[1] = otherForm(m_last[0]);
}

bool ContentMatcher::verifyAt(const unsigned char* at) const
{
    const auto* needle = reinterpret_cast<const unsigned char*>(m_needle.constData());
    for (qsizetype k = 1; k + 1 < m_needle.size(); ++k) {
        if (kFold[at[k]] != needle[k])
            return false;
    }
    return true;
}

bool ContentMatcher::containsIn(const char* data, qsizetype size) const
{
    const qsizetype n = m_needle.size();
    if (n == 0 || size < n)
        return n == 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const qsizetype last = size - n; // the last start position
    qsizetype i = 0;
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(m_first[0]));
    const __m128i f1 = _mm_set1_epi8(static_cast<char>(m_first[1]));
    const __m128i l0 = _mm_set1_epi8(static_cast<char>(m_last[0]));
    const __m128i l1 = _mm_set1_epi8(static_cast<char>(m_last[1]));
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + n - 1));
        const __m128i hit = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(head, f0), _mm_cmpeq_epi8(head, f1)),
                                          _mm_or_si128(_mm_cmpeq_epi8(tail, l0), _mm_cmpeq_epi8(tail, l1)));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (verifyAt(bytes + i + bit))
                return true;
            mask &= mask - 1;
        }
    }
    for (; i <= last; ++i) {
        if (kFold[bytes[i]] == m_first[0] && kFold[bytes[i + n - 1]] == m_last[0] && verifyAt(bytes + i))
            return true;
    }
    return false;
}

ContentMatcher::FileResult ContentMatcher::searchFile(int dirFd, const QByteArray& name, std::vector<char>& buffer,
                                                      const std::function<bool()>& stopped, struct stat* info) const
{
    // O_NONBLOCK: a FIFO that took the place of a file after the folder was read must not
    // hang the open; reads of a regular file ignore the flag.
    const FileDescriptor fd(::openat(dirFd, name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen())
        return FileResult::Unreadable;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return FileResult::Unreadable;
    if (info)
        *info = st;
    if (!S_ISREG(st.st_mode))
        return FileResult::NotRegular;
    const qsizetype overlap = qMax<qsizetype>(0, m_needle.size() - 1);
    if (buffer.size() < std::size_t(kBlockSize + overlap))
        buffer.resize(std::size_t(kBlockSize + overlap));
    qsizetype carried = 0;
    for (;;) {
        if (stopped && stopped())
            return FileResult::Stopped;
        const ssize_t got = ::read(fd.get(), buffer.data() + carried, std::size_t(kBlockSize));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return FileResult::Unreadable;
        }
        if (got == 0)
            return FileResult::NotFound;
        const qsizetype filled = carried + got;
        if (containsIn(buffer.data(), filled))
            return FileResult::Found;
        // The text may begin in the last length-1 bytes and end in the next block.
        carried = qMin(overlap, filled);
        std::copy(buffer.data() + filled - carried, buffer.data() + filled, buffer.data());
    }
}
