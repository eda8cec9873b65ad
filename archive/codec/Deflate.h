#pragma once
// Deflate and inflate for zip entries (raw deflate, no zlib wrapper). Whole buffers go
// through libdeflate, which is much faster when the entry fits in memory; big entries are
// deflated in blocks by BlockDeflater. Each object owns its codec state and frees it.

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

// Deflating a big entry that is already compressed (media, archives, random bytes) only
// costs time when the smaller of deflated and stored is kept: a few samples spread over the
// entry tell in advance. Entries below kProbeFrom are simply tried whole.
constexpr uint64_t kProbeFrom = 1u << 20;
constexpr size_t kProbeSample = 64u << 10;
constexpr int kProbeSamples = 4;
// Every sample of an entry of size bytes saves little at this level; sampleAt gives the
// kProbeSample bytes at an offset, or null when they cannot be had (the entry is then tried).
bool looksIncompressible(uint64_t size, int level, const std::function<const uint8_t*(uint64_t offset)>& sampleAt);

// Whole-buffer inflate into exactly expectedSize bytes.
enum class InflateResult { Ok, TooLong, Damaged };
InflateResult inflateBuffer(const uint8_t* data, size_t n, uint8_t* out, size_t expectedSize);

using ByteSink = std::function<bool(const uint8_t* data, size_t n)>;

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
