#pragma once
// Deflate and inflate for zip entries (raw deflate, no zlib wrapper). Whole buffers go
// through libdeflate, which is much faster when the entry fits in memory; big entries
// stream through zlib. Each object owns its codec state and frees it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zipcodec {

uint32_t crc32(uint32_t crc, const void* data, size_t n);

// Whole-buffer deflate. level is zlib's scale 1..9.
class BufferDeflater {
public:
    explicit BufferDeflater(int level);
    ~BufferDeflater();
    BufferDeflater(const BufferDeflater&) = delete;
    BufferDeflater& operator=(const BufferDeflater&) = delete;
    // The deflated bytes, or an empty optional-like false when the output would not be
    // smaller than limit (the caller then stores the entry).
    bool compress(const uint8_t* data, size_t n, size_t limit, std::string& out);

private:
    void* m_compressor;
};

// Whole-buffer inflate into exactly expectedSize bytes.
enum class InflateResult { Ok, TooLong, Damaged };
InflateResult inflateBuffer(const uint8_t* data, size_t n, uint8_t* out, size_t expectedSize);

using ByteSink = std::function<bool(const uint8_t* data, size_t n)>;

class DeflateStream {
public:
    explicit DeflateStream(int level);
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    // Feeds input; finish=true flushes the end of the stream. Output goes to sink; false
    // when the sink refuses or zlib fails.
    bool write(const uint8_t* data, size_t n, bool finish, const ByteSink& sink);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

class InflateStream {
public:
    enum class Status { More, End, Error };
    InflateStream();
    ~InflateStream();
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    // Feeds compressed input; inflated output goes to sink. End once the final block has
    // been read; Error on damaged data or when the sink refuses.
    Status write(const uint8_t* data, size_t n, const ByteSink& sink);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace zipcodec
