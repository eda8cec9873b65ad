// The block-parallel deflater: whatever the block cuts and whatever kind of block ends each
// piece (dynamic, fixed, stored), the joined output inflates (with an independent inflater)
// back to the input, ends exactly where the stream ends, and is not much bigger than one zlib
// stream of the same input.
#include "archive/codec/BlockDeflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

namespace {

using zipcodec::BlockDeflater;

enum class Content { Text, Mixed };

// Text-like bytes with repeats that reach back across block cuts; Mixed puts runs of random
// bytes and of zeros between the text, so pieces also end in stored and tiny blocks.
std::string sampleInput(size_t n, Content content = Content::Text)
{
    std::mt19937 random(7);
    std::string words[64];
    for (auto& w : words)
        for (int i = 0, len = 2 + int(random() % 9); i < len; ++i)
            w += char('a' + random() % 26);
    std::string out;
    while (out.size() < n) {
        if (content == Content::Mixed && random() % 4000 == 0) {
            const size_t run = 1000 + random() % 150000;
            for (size_t i = 0; i < run; ++i)
                out += random() % 3 ? char(random()) : '\0';
            out.append(random() % 70000, '\0');
        }
        out += words[random() % 64];
        out += random() % 11 ? ' ' : '\n';
    }
    out.resize(n);
    return out;
}

// Inflates a raw deflate stream; false unless it ends exactly at its last byte.
bool inflateAll(const std::string& packed, std::string& out)
{
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = uInt(packed.size());
    char chunk[1 << 16];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - z.avail_out);
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            break;
    }
    const bool whole = rc == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

struct BlockCase {
    const char* name;
    size_t size;
    size_t piece; // bytes per submit() call
    unsigned threads;
    Content content = Content::Text;
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

class BlockDeflaterTest : public ::testing::TestWithParam<BlockCase> {};

} // namespace

TEST_P(BlockDeflaterTest, JoinedBlocksInflateToTheInput)
{
    const BlockCase c = GetParam();
    const std::string input = sampleInput(c.size, c.content);
    std::string packed;
    BlockDeflater deflater(6, c.threads);
    const zipcodec::ByteSink sink = [&](const uint8_t* d, size_t n) {
        packed.append(reinterpret_cast<const char*>(d), n);
        return true;
    };
    const auto* bytes = reinterpret_cast<const uint8_t*>(input.data());
    // The last piece ends the stream; when the input ends on a cut, an empty one does.
    for (size_t at = 0;; at += c.piece) {
        const size_t n = std::min(c.piece, input.size() - at);
        std::vector<uint8_t> piece = deflater.takeBuffer();
        piece.assign(bytes + at, bytes + at + n);
        const bool last = at + n == input.size() && (n < c.piece || n == 0);
        ASSERT_TRUE(deflater.submit(std::move(piece), last, sink));
        if (last)
            break;
    }

    std::string back;
    ASSERT_TRUE(inflateAll(packed, back)) << "not one complete deflate stream";
    EXPECT_TRUE(back == input) << "inflated " << back.size() << " bytes of " << input.size();
    // Against one stream of the whole input at the same level, each cut costs what the
    // piece after it could have matched in the 32 KiB before it: here (64 words over and
    // over) about 500 bytes.
    std::string single;
    zipcodec::BufferDeflater(6).compress(bytes, input.size(), SIZE_MAX, single);
    const size_t cuts = input.size() / c.piece;
    EXPECT_LE(packed.size(), single.size() + 1024 * cuts + 16);
}

INSTANTIATE_TEST_SUITE_P(Cuts, BlockDeflaterTest,
    ::testing::Values(BlockCase{"empty", 0, 1, 2},
                      BlockCase{"one_byte", 1, 1, 2},
                      BlockCase{"exactly_one_block", BlockDeflater::kBlockSize, 4096, 2},
                      BlockCase{"one_block_and_a_byte", BlockDeflater::kBlockSize + 1, 65536, 3},
                      BlockCase{"many_blocks_odd_pieces", 9 * BlockDeflater::kBlockSize + 777, 100003, 4},
                      BlockCase{"many_blocks_one_thread", 5 * BlockDeflater::kBlockSize + 5, 1 << 20, 1},
                      BlockCase{"one_write_of_many_blocks", 6 * BlockDeflater::kBlockSize + 3, 6 * BlockDeflater::kBlockSize + 3, 2},
                      BlockCase{"mixed_content_small_pieces", 3 * BlockDeflater::kBlockSize + 11, 65536 + 7, 2, Content::Mixed},
                      BlockCase{"mixed_content_full_pieces", 8 * BlockDeflater::kBlockSize, BlockDeflater::kBlockSize, 2, Content::Mixed}),
    [](const auto& info) { return std::string(info.param.name); });
