#include "viewers/text/LineIndex.h"

#include <QCoreApplication>

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

LineIndex::LineIndex(const PagedFile& file)
    : m_file(file)
    , m_before(size_t((file.size() + kChunk - 1) / kChunk) + 1, 0)
{
}

std::int64_t LineIndex::countLineFeeds(const char* data, std::int64_t size)
{
    std::int64_t count = 0;
    std::int64_t i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 64 <= size; i += 64) {
        std::uint64_t mask = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + part * 16));
            mask |= std::uint64_t(std::uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)))) << (part * 16);
        }
        count += std::popcount(mask);
    }
#endif
    for (; i < size; ++i)
        count += data[i] == '\n';
    return count;
}

bool LineIndex::indexNextChunk()
{
    const std::int64_t chunk = m_done.load(std::memory_order_relaxed);
    if (chunk >= chunkCount())
        return false;
    m_buffer.resize(size_t(kChunk));
    const std::int64_t start = chunk * kChunk;
    const std::int64_t length = std::min(kChunk, m_file.size() - start);
    if (m_file.readInto(start, m_buffer.data(), length) != length)
        return false;
    m_before[size_t(chunk + 1)] = m_before[size_t(chunk)] + countLineFeeds(m_buffer.data(), length);
    m_done.store(chunk + 1, std::memory_order_release);
    return true;
}

std::int64_t LineIndex::indexedBytes() const
{
    return std::min(m_file.size(), m_done.load(std::memory_order_acquire) * kChunk);
}

std::optional<std::int64_t> LineIndex::lineOf(std::int64_t offset) const
{
    offset = std::clamp<std::int64_t>(offset, 0, m_file.size());
    // m_before[chunk] is published once the chunks before it are counted.
    const std::int64_t chunk = std::min(offset / kChunk, chunkCount());
    if (chunk > m_done.load(std::memory_order_acquire))
        return std::nullopt;
    const std::int64_t start = chunk * kChunk;
    const QByteArray bytes = m_file.read(start, offset - start);
    return m_before[size_t(chunk)] + countLineFeeds(bytes.constData(), bytes.size());
}

std::optional<std::int64_t> LineIndex::lineFeeds() const
{
    if (!isComplete())
        return std::nullopt;
    return m_before.back();
}

bool LineIndexJob::plan()
{
    addTotal(1, m_size);
    setCurrentItem(QCoreApplication::translate("LineIndex", "Counting lines"));
    return true;
}

void LineIndexJob::execute()
{
    while (!stopped() && !m_index.isComplete()) {
        if (!m_index.indexNextChunk()) {
            setError(QCoreApplication::translate("LineIndex", "Cannot read the file"));
            return;
        }
        setItemBytes(m_index.indexedBytes());
    }
    itemDone(m_size);
}
