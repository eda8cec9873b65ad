#pragma once
// Deflates one long input on several threads into a single raw deflate stream. The caller
// hands the input over in pieces (best in buffers from takeBuffer(), which are reused, so
// the bytes are read straight into place and never copied); each piece is deflated on its
// own by libdeflate. Every piece but the last is then made to continue the stream: its final
// block's BFINAL bit is cleared and an empty stored block brings it to a byte boundary, as a
// sync flush would. The pieces' outputs, joined in order, are one valid stream. A piece does
// not see the bytes before it, which costs a little size at each cut (about 0.1% at 2 MiB).
// Memory stays bounded: at most a few pieces per thread are in flight, and submit() hands
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
    static constexpr size_t kBlockSize = 2u << 20;

    // level is zlib's scale 1..9; threads at least 1.
    BlockDeflater(int level, unsigned threads);
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // A buffer of kBlockSize bytes to read the next piece into: one a finished piece gave
    // back when there is one.
    std::vector<uint8_t> takeBuffer();
    // Queues input as the stream's next piece (all its size() bytes, any number; kBlockSize
    // keeps both the cuts and the memory small); last=true ends the stream with it. Output
    // goes to sink in order, on the calling thread. False when the sink refuses or deflating
    // fails; the stream is unusable after that.
    bool submit(std::vector<uint8_t> input, bool last, const ByteSink& sink);

private:
    struct Block;
    bool emitOldest(const ByteSink& sink);
    void work();

    int m_level;
    size_t m_maxInFlight;
    bool m_broken = false;
    std::vector<std::vector<uint8_t>> m_spareInputs;
    std::vector<std::unique_ptr<Block>> m_spareBlocks;
    std::deque<std::unique_ptr<Block>> m_inFlight; // in input order
    std::deque<Block*> m_queue;                    // waiting for a worker
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

} // namespace zipcodec
