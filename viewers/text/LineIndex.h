#pragma once
// The line index of a viewed file, built in the background while the viewer already shows
// any part of the file: the number of line feeds before each 1 MiB chunk. The line of an
// offset is then the chunk's count plus the line feeds between the chunk's start and the
// offset, at most one chunk read. Memory stays small (8 bytes a MiB) for any size of file.
//
// One thread builds (LineIndexJob), others read at the same time: a chunk's count is
// published before the number of chunks done grows.

#include "platform/Job.h"
#include "viewers/text/PagedFile.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

class LineIndex {
public:
    static constexpr std::int64_t kChunk = 1 << 20;

    // Sizes the index for file; nothing is read yet.
    explicit LineIndex(const PagedFile& file);

    // The line (from 0) holding offset, once the index has reached its chunk.
    std::optional<std::int64_t> lineOf(std::int64_t offset) const;
    // The line feeds in the whole file (as `wc -l` counts), once complete.
    std::optional<std::int64_t> lineFeeds() const;
    bool isComplete() const { return m_done.load(std::memory_order_acquire) == chunkCount(); }
    // Bytes indexed so far.
    std::int64_t indexedBytes() const;

    // Counts the next chunk; false when every chunk is counted or the file cannot be read.
    bool indexNextChunk();

    // The line feeds in a buffer (vectorised: the index must keep pace with `wc -l`).
    static std::int64_t countLineFeeds(const char* data, std::int64_t size);

private:
    std::int64_t chunkCount() const { return std::int64_t(m_before.size()) - 1; }

    const PagedFile& m_file;
    // m_before[i]: line feeds before chunk i; m_before[chunkCount()]: all of them.
    std::vector<std::int64_t> m_before;
    std::atomic<std::int64_t> m_done{0};
    std::vector<char> m_buffer;
};

// Builds a LineIndex to its end on a worker (JobRunner), reporting bytes indexed.
class LineIndexJob final : public Job {
public:
    explicit LineIndexJob(LineIndex& index, std::int64_t size)
        : m_index(index)
        , m_size(size)
    {
    }

protected:
    bool plan() override;
    void execute() override;

private:
    LineIndex& m_index;
    std::int64_t m_size;
};
