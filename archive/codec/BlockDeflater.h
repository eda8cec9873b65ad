#pragma once
// Deflates one long input on several threads into a single raw deflate stream. The input is
// cut into blocks; each block is deflated by its own zlib stream primed with the 32 KiB
// before it as dictionary (so matches reach back across the cut as in one stream) and ended
// with a sync flush, which closes it on a byte boundary with a non-final block; the last
// block ends the stream. The blocks' outputs, joined in order, are one valid stream.
// Memory stays bounded: at most a few blocks per thread are in flight, and write() hands
// finished ones to the sink.

#include "codec/Deflate.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zipcodec {

class BlockDeflater {
public:
    static constexpr size_t kBlockSize = 1u << 20;
    static constexpr size_t kWindow = 32u << 10;

    // level is zlib's scale 1..9; threads at least 1.
    BlockDeflater(int level, unsigned threads);
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // Feeds input in order; finish=true ends the stream (after the data given with it).
    // Output goes to sink in order, on the calling thread. False when the sink refuses or
    // zlib fails; the stream is unusable after that.
    bool write(const uint8_t* data, size_t n, bool finish, const ByteSink& sink);

private:
    struct Block;
    void submit(bool last);
    bool emitOldest(const ByteSink& sink);
    void work();

    int m_level;
    size_t m_maxInFlight;
    std::unique_ptr<Block> m_filling;
    std::deque<std::shared_ptr<Block>> m_inFlight; // in input order
    std::deque<std::shared_ptr<Block>> m_queue;    // waiting for a worker
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

} // namespace zipcodec
