#include "codec/Deflate.h"

#include <libdeflate.h>
#include <zlib.h>

namespace zipcodec {

namespace {
constexpr size_t kChunk = 64 * 1024;
}

uint32_t crc32(uint32_t crc, const void* data, size_t n)
{
    return libdeflate_crc32(crc, data, n);
}

BufferDeflater::BufferDeflater(int level) : m_compressor(libdeflate_alloc_compressor(level)) {}

BufferDeflater::~BufferDeflater()
{
    libdeflate_free_compressor(static_cast<libdeflate_compressor*>(m_compressor));
}

bool BufferDeflater::compress(const uint8_t* data, size_t n, size_t limit, std::string& out)
{
    auto* c = static_cast<libdeflate_compressor*>(m_compressor);
    if (!c)
        return false;
    out.resize(libdeflate_deflate_compress_bound(c, n));
    const size_t got = libdeflate_deflate_compress(c, data, n, out.data(), out.size());
    if (got == 0 || got >= limit)
        return false;
    out.resize(got);
    return true;
}

bool looksIncompressible(uint64_t size, int level, const std::function<const uint8_t*(uint64_t offset)>& sampleAt)
{
    if (size < kProbeFrom)
        return false;
    BufferDeflater deflater(level);
    std::string scratch;
    for (int i = 0; i < kProbeSamples; ++i) {
        const uint8_t* sample = sampleAt((size - kProbeSample) / (kProbeSamples - 1) * uint64_t(i));
        // Saving under 1% of a sample counts as saving nothing.
        if (!sample || deflater.compress(sample, kProbeSample, kProbeSample - kProbeSample / 100, scratch))
            return false;
    }
    return true;
}

InflateResult inflateBuffer(const uint8_t* data, size_t n, uint8_t* out, size_t expectedSize)
{
    static thread_local struct Holder {
        libdeflate_decompressor* d = libdeflate_alloc_decompressor();
        ~Holder() { libdeflate_free_decompressor(d); }
    } holder;
    size_t actual = 0;
    const auto result = libdeflate_deflate_decompress(holder.d, data, n, out, expectedSize, &actual);
    if (result == LIBDEFLATE_INSUFFICIENT_SPACE)
        return InflateResult::TooLong;
    return result == LIBDEFLATE_SUCCESS && actual == expectedSize ? InflateResult::Ok : InflateResult::Damaged;
}

struct InflateStream::State {
    z_stream z{};
    bool ready = false;
    ~State()
    {
        if (ready)
            inflateEnd(&z);
    }
};

InflateStream::InflateStream() : m_state(std::make_unique<State>())
{
    m_state->ready = inflateInit2(&m_state->z, -MAX_WBITS) == Z_OK;
}

InflateStream::~InflateStream() = default;

InflateStream::Status InflateStream::write(const uint8_t* data, size_t n, const ByteSink& sink)
{
    if (!m_state->ready)
        return Status::Error;
    z_stream& z = m_state->z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(n);
    uint8_t out[kChunk];
    for (;;) {
        z.next_out = out;
        z.avail_out = sizeof out;
        const int rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            return Status::Error;
        const size_t produced = sizeof out - z.avail_out;
        if (produced > 0 && !sink(out, produced))
            return Status::Error;
        if (rc == Z_STREAM_END)
            return Status::End;
        if (z.avail_in == 0 && z.avail_out != 0)
            return Status::More;
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            return Status::More;
    }
}

} // namespace zipcodec
