#include "codec/BlockDeflater.h"

#include <zlib.h>

namespace zipcodec {

struct BlockDeflater::Block {
    std::vector<uint8_t> input; // the dictionary, then the block's own bytes
    size_t dictionary = 0;
    size_t length = 0; // the block's own bytes, kept once the input is freed
    bool last = false;
    std::vector<uint8_t> output;
    bool done = false;
    bool failed = false;
};

namespace {

// One worker's zlib stream, reset for each block instead of set up again.
class Engine {
public:
    explicit Engine(int level) { m_ready = deflateInit2(&m_z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
    ~Engine()
    {
        if (m_ready)
            deflateEnd(&m_z);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    bool deflateBlock(const uint8_t* dictionary, size_t dictionaryLength, const uint8_t* data, size_t n, bool last,
                      std::vector<uint8_t>& out)
    {
        if (!m_ready || deflateReset(&m_z) != Z_OK)
            return false;
        if (dictionaryLength > 0 && deflateSetDictionary(&m_z, dictionary, uInt(dictionaryLength)) != Z_OK)
            return false;
        // Room for the worst case plus the sync flush's empty stored block.
        out.resize(deflateBound(&m_z, uLong(n)) + 16);
        m_z.next_in = const_cast<Bytef*>(data);
        m_z.avail_in = uInt(n);
        m_z.next_out = out.data();
        m_z.avail_out = uInt(out.size());
        const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
        for (;;) {
            const int rc = deflate(&m_z, flush);
            if (rc == Z_STREAM_ERROR)
                return false;
            if ((last && rc == Z_STREAM_END) || (!last && m_z.avail_out > 0 && m_z.avail_in == 0))
                break;
            const size_t used = out.size() - m_z.avail_out;
            out.resize(out.size() * 2);
            m_z.next_out = out.data() + used;
            m_z.avail_out = uInt(out.size() - used);
        }
        out.resize(out.size() - m_z.avail_out);
        return true;
    }

private:
    z_stream m_z{};
    bool m_ready = false;
};

} // namespace

BlockDeflater::BlockDeflater(int level, unsigned threads)
    : m_level(level), m_maxInFlight(2 * std::max(1u, threads) + 1), m_filling(std::make_unique<Block>())
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

bool BlockDeflater::write(const uint8_t* data, size_t n, bool finish, const ByteSink& sink)
{
    if (!m_filling)
        return false;
    while (n > 0) {
        Block& b = *m_filling;
        if (b.input.capacity() < b.dictionary + kBlockSize)
            b.input.reserve(b.dictionary + kBlockSize);
        const size_t take = std::min(n, kBlockSize - b.length);
        b.input.insert(b.input.end(), data, data + take);
        b.length += take;
        data += take;
        n -= take;
        if (b.length == kBlockSize) {
            submit(false);
            while (m_inFlight.size() >= m_maxInFlight)
                if (!emitOldest(sink))
                    return false;
        }
    }
    if (!finish)
        return true;
    submit(true);
    while (!m_inFlight.empty())
        if (!emitOldest(sink))
            return false;
    return true;
}

void BlockDeflater::submit(bool last)
{
    std::shared_ptr<Block> block(m_filling.release());
    block->last = last;
    if (!last) {
        // The next block starts with this one's last 32 KiB, its dictionary.
        m_filling = std::make_unique<Block>();
        const size_t keep = std::min(kWindow, block->input.size());
        m_filling->input.reserve(keep + kBlockSize);
        m_filling->input.assign(block->input.end() - std::ptrdiff_t(keep), block->input.end());
        m_filling->dictionary = keep;
    }
    m_inFlight.push_back(block);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(block));
    }
    m_changed.notify_all();
}

bool BlockDeflater::emitOldest(const ByteSink& sink)
{
    std::shared_ptr<Block> block = m_inFlight.front();
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return block->done; });
    }
    m_inFlight.pop_front();
    if (block->failed) {
        m_filling.reset();
        return false;
    }
    if (!block->output.empty() && !sink(block->output.data(), block->output.size())) {
        m_filling.reset();
        return false;
    }
    return true;
}

void BlockDeflater::work()
{
    Engine engine(m_level);
    for (;;) {
        std::shared_ptr<Block> block;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            block = std::move(m_queue.front());
            m_queue.pop_front();
        }
        const uint8_t* own = block->input.data() + block->dictionary;
        const bool ok = engine.deflateBlock(block->input.data(), block->dictionary, own, block->length, block->last,
                                            block->output);
        block->input = {}; // the memory goes back before the writer takes the output
        {
            std::lock_guard lock(m_mutex);
            block->failed = !ok;
            block->done = true;
        }
        m_changed.notify_all();
    }
}

} // namespace zipcodec
