#include "codec/BlockDeflater.h"

#include "codec/DeflateBlockWalker.h"

#include <libdeflate.h>

#include <cstring>

namespace zipcodec {

struct BlockDeflater::Block {
    std::vector<uint8_t> input;
    bool last = false;
    std::vector<uint8_t> output; // kept with the block when it is reused
    size_t outputLength = 0;
    bool done = false;
    bool failed = false;
};

namespace {

// The empty stored block that follows a piece's last block: after the 3 header bits (all
// zero: not final, stored) and the padding to a byte boundary come LEN 0 and NLEN 0xFFFF.
constexpr uint8_t kStoredLength[4] = {0x00, 0x00, 0xFF, 0xFF};

// One worker's compressor, and a walker that finds where the compressed piece's final block
// starts and ends; both are reused for every piece.
class Engine {
public:
    explicit Engine(int level) : m_compressor(libdeflate_alloc_compressor(level)) {}
    ~Engine() { libdeflate_free_compressor(m_compressor); }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Deflates the input into output; a piece that is not the last is made to continue the
    // stream.
    bool deflateBlock(const std::vector<uint8_t>& input, bool last, std::vector<uint8_t>& output, size_t& length)
    {
        if (!m_compressor)
            return false;
        // Room for the worst case plus a padding byte and the stored block's lengths.
        const size_t room = libdeflate_deflate_compress_bound(m_compressor, input.size()) + 1 + sizeof kStoredLength;
        if (output.size() < room)
            output.resize(room);
        length = libdeflate_deflate_compress(m_compressor, input.data(), input.size(), output.data(), output.size());
        return length > 0 && (last || continueStream(output.data(), length));
    }

private:
    // Clears the BFINAL bit of the stream's last block and ends the stream with an empty
    // stored block, so that more blocks may follow.
    bool continueStream(uint8_t* packed, size_t& length)
    {
        if (!m_walker.walk(packed, length))
            return false;
        const uint64_t finalHeader = m_walker.finalBlockBit();
        const uint64_t end = m_walker.endBit();
        packed[finalHeader / 8] &= uint8_t(~(1u << (finalHeader % 8)));
        length = size_t((end + 7) / 8);
        const unsigned used = unsigned(end % 8);
        if (used > 0)
            packed[length - 1] &= uint8_t((1u << used) - 1); // the stored block's header bits
        if (used == 0 || used > 5)
            packed[length++] = 0; // fewer than 3 bits left for that header: it takes one more byte
        std::memcpy(packed + length, kStoredLength, sizeof kStoredLength);
        length += sizeof kStoredLength;
        return true;
    }

    libdeflate_compressor* m_compressor;
    DeflateBlockWalker m_walker;
};

} // namespace

BlockDeflater::BlockDeflater(int level, unsigned threads) : m_level(level), m_maxInFlight(2 * std::max(1u, threads) + 1)
{
    for (unsigned i = 0; i < std::max(1u, threads); ++i)
        m_workers.emplace_back([this] { work(); });
}

BlockDeflater::~BlockDeflater()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    for (auto& t : m_workers)
        t.join();
}

std::vector<uint8_t> BlockDeflater::takeBuffer()
{
    std::vector<uint8_t> buffer;
    if (!m_spareInputs.empty()) {
        buffer = std::move(m_spareInputs.back());
        m_spareInputs.pop_back();
    }
    buffer.resize(kBlockSize);
    return buffer;
}

bool BlockDeflater::submit(std::vector<uint8_t> input, bool last, const ByteSink& sink)
{
    if (m_broken)
        return false;
    if (input.empty() && !last) {
        m_spareInputs.push_back(std::move(input));
        return true;
    }
    std::unique_ptr<Block> block;
    if (m_spareBlocks.empty()) {
        block = std::make_unique<Block>();
    } else {
        block = std::move(m_spareBlocks.back());
        m_spareBlocks.pop_back();
    }
    block->input = std::move(input);
    block->last = last;
    block->done = block->failed = false;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(block.get());
    }
    m_inFlight.push_back(std::move(block));
    m_changed.notify_all();
    while (m_inFlight.size() >= (last ? 1 : m_maxInFlight))
        if (!emitOldest(sink))
            return false;
    return true;
}

bool BlockDeflater::emitOldest(const ByteSink& sink)
{
    Block* block = m_inFlight.front().get();
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return block->done; });
    }
    m_broken = block->failed || (block->outputLength > 0 && !sink(block->output.data(), block->outputLength));
    m_spareInputs.push_back(std::move(block->input));
    m_spareBlocks.push_back(std::move(m_inFlight.front()));
    m_inFlight.pop_front();
    return !m_broken;
}

void BlockDeflater::work()
{
    Engine engine(m_level);
    for (;;) {
        Block* block = nullptr;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            block = m_queue.front();
            m_queue.pop_front();
        }
        const bool ok = engine.deflateBlock(block->input, block->last, block->output, block->outputLength);
        {
            std::lock_guard lock(m_mutex);
            block->failed = !ok;
            block->done = true;
        }
        m_changed.notify_all();
    }
}

} // namespace zipcodec
