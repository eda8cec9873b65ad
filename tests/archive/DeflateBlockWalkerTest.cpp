// The deflate block walker against zlib's own block-by-block inflate (Z_BLOCK), which is the
// oracle: on streams from zlib and libdeflate over varied data, on every kind of block, on
// damaged copies of them, and on small hand-made streams each broken in one way.
#include "archive/codec/DeflateBlockWalker.h"
#include "tests/support/ZlibBlockLayout.h"

#include <gtest/gtest.h>
#include <libdeflate.h>
#include <zlib.h>

#include <functional>
#include <map>
#include <random>

namespace {

using zipcodec::DeflateBlockWalker;

using Layout = DeflateLayout;

std::optional<Layout> zlibLayout(const std::string& packed)
{
    return zlibBlockLayout(reinterpret_cast<const uint8_t*>(packed.data()), packed.size());
}

std::optional<Layout> walkerLayout(const std::string& packed)
{
    DeflateBlockWalker walker;
    if (!walker.walk(reinterpret_cast<const uint8_t*>(packed.data()), packed.size()))
        return std::nullopt;
    return Layout{walker.finalBlockBit(), walker.endBit()};
}

enum class Content { Text, Random, Runs, Mixed };

std::string sampleInput(size_t n, Content content, unsigned seed = 3)
{
    std::mt19937 random(seed);
    std::string out;
    while (out.size() < n) {
        const Content piece = content == Content::Mixed ? Content(random() % 3) : content;
        const size_t length = 1 + random() % 5000;
        for (size_t i = 0; i < length; ++i) {
            switch (piece) {
            case Content::Text:
                out += random() % 7 ? char('a' + random() % 12) : ' ';
                break;
            case Content::Random:
                out += char(random());
                break;
            default:
                out += char('0' + (i / 700) % 3);
                break;
            }
        }
    }
    out.resize(n);
    return out;
}

// One deflate stream of the input: by zlib with a level, a strategy and, optionally, a full
// flush every few KiB (each adds an empty stored block and starts a new block), or by
// libdeflate (zlibLevel < 0 gives libdeflate's level -zlibLevel).
std::string compressed(const std::string& input, int zlibLevel, int strategy = Z_DEFAULT_STRATEGY, size_t flushEvery = 0)
{
    std::string out;
    if (zlibLevel < 0) {
        libdeflate_compressor* c = libdeflate_alloc_compressor(-zlibLevel);
        out.resize(libdeflate_deflate_compress_bound(c, input.size()));
        out.resize(libdeflate_deflate_compress(c, input.data(), input.size(), out.data(), out.size()));
        libdeflate_free_compressor(c);
        return out;
    }
    z_stream z{};
    deflateInit2(&z, zlibLevel, Z_DEFLATED, -MAX_WBITS, 8, strategy);
    out.resize(deflateBound(&z, uLong(input.size())) + 64 * (input.size() / std::max<size_t>(flushEvery, 1) + 1));
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const size_t step = flushEvery ? flushEvery : input.size();
    for (size_t at = 0;; at += step) {
        const size_t n = std::min(step, input.size() - at);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + at));
        z.avail_in = uInt(n);
        const bool last = at + n >= input.size();
        deflate(&z, last ? Z_FINISH : Z_FULL_FLUSH);
        if (last)
            break;
    }
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct StreamCase {
    const char* name;
    Content content;
    size_t size;
    int level; // zlib's; negative: libdeflate's
    int strategy = Z_DEFAULT_STRATEGY;
    size_t flushEvery = 0;
};

void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }

class WalkerAgreesWithZlib : public ::testing::TestWithParam<StreamCase> {};

} // namespace

TEST_P(WalkerAgreesWithZlib, FindsTheSameFinalBlockAndRefusesTheSameDamage)
{
    const StreamCase c = GetParam();
    const std::string packed = compressed(sampleInput(c.size, c.content), c.level, c.strategy, c.flushEvery);
    const auto expected = zlibLayout(packed);
    ASSERT_TRUE(expected) << "the oracle does not take the stream";
    EXPECT_EQ(walkerLayout(packed), expected);
    // Bytes after the stream's end are not part of it.
    EXPECT_EQ(walkerLayout(packed + std::string("\xFF\x00\x17", 3)), expected);

    // Every stream cut short is refused (sampled cuts for the long ones).
    const size_t step = std::max<size_t>(1, packed.size() / 300);
    for (size_t cut = 0; cut < packed.size(); cut += step)
        ASSERT_EQ(walkerLayout(packed.substr(0, cut)), std::nullopt) << "cut at byte " << cut;

    // Damaged copies (one to three bits flipped): whatever zlib makes of each, so does the
    // walker.
    std::mt19937 random(11);
    const size_t copies = packed.size() > 100000 ? 60 : 400;
    for (size_t i = 0; i < copies; ++i) {
        std::string damaged = packed;
        for (unsigned flips = 1 + random() % 3; flips > 0; --flips) {
            // Mostly near the start, where the code tables are.
            const size_t at = random() % 2 ? random() % std::min<size_t>(damaged.size(), 64) : random() % damaged.size();
            damaged[at] = char(damaged[at] ^ (1 << (random() % 8)));
        }
        ASSERT_EQ(walkerLayout(damaged), zlibLayout(damaged)) << "damaged copy " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, WalkerAgreesWithZlib,
    ::testing::Values(StreamCase{"empty_input", Content::Text, 0, 6},
                      StreamCase{"one_byte", Content::Text, 1, 6},
                      StreamCase{"tiny_text", Content::Text, 40, 6},
                      StreamCase{"text_dynamic", Content::Text, 300000, 6},
                      StreamCase{"text_fixed_codes", Content::Text, 50000, 6, Z_FIXED},
                      StreamCase{"text_huffman_only", Content::Text, 50000, 6, Z_HUFFMAN_ONLY},
                      StreamCase{"runs_rle", Content::Runs, 200000, 6, Z_RLE},
                      StreamCase{"runs_best", Content::Runs, 200000, 9},
                      StreamCase{"random_stored", Content::Random, 150000, 6},
                      StreamCase{"level_0_stored", Content::Text, 200000, 0},
                      StreamCase{"mixed_with_full_flushes", Content::Mixed, 200000, 6, Z_DEFAULT_STRATEGY, 7000},
                      StreamCase{"tiny_with_flush_blocks", Content::Text, 5, 6, Z_DEFAULT_STRATEGY, 1},
                      StreamCase{"libdeflate_1_mixed", Content::Mixed, 400000, -1},
                      StreamCase{"libdeflate_6_text", Content::Text, 2 << 20, -6},
                      StreamCase{"libdeflate_6_mixed", Content::Mixed, 2 << 20, -6},
                      StreamCase{"libdeflate_6_random", Content::Random, 300000, -6},
                      StreamCase{"libdeflate_12_runs", Content::Runs, 300000, -12},
                      StreamCase{"libdeflate_6_tiny", Content::Text, 3, -6}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// Writes deflate's bit order: fields least significant bit first, Huffman codes most
// significant bit first.
class BitWriter {
public:
    void put(uint32_t value, unsigned bits)
    {
        for (unsigned i = 0; i < bits; ++i, ++m_bit) {
            if (m_bit % 8 == 0)
                m_bytes += '\0';
            m_bytes.back() = char(m_bytes.back() | ((value >> i) & 1) << (m_bit % 8));
        }
    }
    void putCode(uint32_t code, unsigned bits)
    {
        for (unsigned i = bits; i-- > 0;)
            put(code >> i, 1);
    }
    void putBytes(const std::string& s)
    {
        m_bit = (m_bit + 7) / 8 * 8;
        m_bytes += s;
        m_bit += 8 * unsigned(s.size());
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    unsigned m_bit = 0;
};

// The canonical codes of a set of code lengths (symbol -> length).
std::map<unsigned, std::pair<uint32_t, unsigned>> canonical(const std::map<unsigned, uint8_t>& lengths)
{
    std::map<unsigned, std::pair<uint32_t, unsigned>> codes;
    uint32_t code = 0;
    for (unsigned length = 1; length <= 15; ++length, code <<= 1)
        for (const auto& [symbol, l] : lengths)
            if (l == length)
                codes[symbol] = {code++, length};
    return codes;
}

// A dynamic block, every part of which a case may change: the counts in the header, the
// code length code, the code lengths (or the raw items that give them) and the symbols.
struct DynamicBlock {
    unsigned litlenCount = 257;
    unsigned distCount = 1;
    std::map<unsigned, uint8_t> codeLengthCode{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {16, 3}, {17, 3}, {18, 3}};
    std::map<unsigned, uint8_t> litlen{{'a', 1}, {256, 1}};
    std::map<unsigned, uint8_t> dist{{0, 1}};
    std::vector<std::pair<unsigned, unsigned>> items; // (code length symbol, extra bits); made from the lengths when empty
    std::vector<unsigned> symbols{'a', 'a', 256};

    std::string bytes() const
    {
        BitWriter out;
        out.put(1, 1);
        out.put(2, 2);
        out.put(litlenCount - 257, 5);
        out.put(distCount - 1, 5);
        out.put(19 - 4, 4);
        static const unsigned order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        for (unsigned s : order)
            out.put(codeLengthCode.count(s) ? codeLengthCode.at(s) : 0, 3);
        const auto clCodes = canonical(codeLengthCode);
        static const unsigned extraBits[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
        for (const auto& [symbol, extra] : items.empty() ? lengthItems() : items) {
            out.putCode(clCodes.at(symbol).first, clCodes.at(symbol).second);
            out.put(extra, extraBits[symbol]);
        }
        const auto codes = canonical(litlen);
        for (unsigned s : symbols)
            out.putCode(codes.at(s).first, codes.at(s).second);
        return out.bytes();
    }

private:
    std::vector<std::pair<unsigned, unsigned>> lengthItems() const
    {
        std::vector<uint8_t> all(litlenCount + distCount, 0);
        for (const auto& [s, l] : litlen)
            all.at(s) = l;
        for (const auto& [s, l] : dist)
            all.at(litlenCount + s) = l;
        std::vector<std::pair<unsigned, unsigned>> out;
        for (size_t i = 0; i < all.size();) {
            size_t run = 0;
            while (all[i] == 0 && i + run < all.size() && all[i + run] == 0 && run < 138)
                ++run;
            if (run >= 11)
                out.push_back({18, unsigned(run - 11)});
            else if (run >= 3)
                out.push_back({17, unsigned(run - 3)});
            else {
                out.push_back({all[i], 0});
                run = 1;
            }
            i += run;
        }
        return out;
    }
};

std::string fixedBlock(const std::vector<std::pair<uint32_t, unsigned>>& codes)
{
    BitWriter out;
    out.put(1, 1);
    out.put(1, 2);
    for (const auto& [code, bits] : codes)
        out.putCode(code, bits);
    return out.bytes();
}

std::string storedBlock(bool final, uint16_t length, uint16_t check, const std::string& data)
{
    BitWriter out;
    out.put(final, 1);
    out.put(0, 2);
    out.putBytes(std::string{char(length), char(length >> 8), char(check), char(check >> 8)} + data);
    return out.bytes();
}

struct BrokenCase {
    const char* name;
    std::string stream;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

// Fixed codes: 'a' is 0x91 in 8 bits, end of block 0 in 7 bits, a length of 3 is 1 in 7
// bits, followed by a distance code in 5 bits.
const std::pair<uint32_t, unsigned> kA{0x30 + 'a', 8}, kEnd{0, 7}, kLength3{1, 7}, kDistance1{0, 5};

DynamicBlock dynamic(const std::function<void(DynamicBlock&)>& change)
{
    DynamicBlock b;
    change(b);
    return b;
}

} // namespace

TEST(DeflateBlockWalkerTest, HandMadeStreamsThatAreWhole)
{
    // The baselines of the broken streams below: each is taken, so each broken one is
    // refused for its own fault.
    const std::string whole[] = {
        DynamicBlock().bytes(),
        dynamic([](DynamicBlock& b) { b.dist.clear(); }).bytes(), // no distance codes at all
        fixedBlock({kA, kLength3, kDistance1, kEnd}),
        storedBlock(true, 3, 0xFFFC, "abc"),
        storedBlock(false, 0, 0xFFFF, "") + storedBlock(true, 1, 0xFFFE, "x"),
    };
    for (const auto& s : whole) {
        const auto expected = zlibLayout(s);
        ASSERT_TRUE(expected);
        EXPECT_EQ(walkerLayout(s), expected);
    }
}

class BrokenStreams : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenStreams, AreRefused)
{
    const std::string& s = GetParam().stream;
    ASSERT_EQ(zlibLayout(s), std::nullopt) << "the oracle takes it: the case is not broken";
    EXPECT_EQ(walkerLayout(s), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Faults, BrokenStreams,
    ::testing::Values(
        BrokenCase{"reserved_block_type", std::string(1, '\x07')},
        BrokenCase{"no_final_block", storedBlock(false, 0, 0xFFFF, "")},
        BrokenCase{"stored_length_check_wrong", storedBlock(true, 3, 0xFFFD, "abc")},
        BrokenCase{"stored_data_cut_short", storedBlock(true, 30, 0xFFE1, "abc")},
        BrokenCase{"match_before_the_first_byte", fixedBlock({kLength3, kDistance1, kEnd})},
        BrokenCase{"match_further_back_than_written", fixedBlock({kA, kLength3, {1, 5}, kEnd})},
        BrokenCase{"fixed_literal_length_286", fixedBlock({kA, {0xC6, 8}, kEnd})},
        BrokenCase{"fixed_distance_30", fixedBlock({kA, kLength3, {30, 5}, kEnd})},
        BrokenCase{"too_many_literal_length_codes", dynamic([](DynamicBlock& b) { b.litlenCount = 287; }).bytes()},
        BrokenCase{"too_many_distance_codes", dynamic([](DynamicBlock& b) { b.distCount = 31; }).bytes()},
        BrokenCase{"code_length_code_over_subscribed", dynamic([](DynamicBlock& b) { b.codeLengthCode[5] = 3; }).bytes()},
        BrokenCase{"code_length_code_incomplete", dynamic([](DynamicBlock& b) { b.codeLengthCode[4] = 4; }).bytes()},
        BrokenCase{"repeat_with_nothing_before", dynamic([](DynamicBlock& b) { b.items = {{16, 0}}; }).bytes()},
        BrokenCase{"repeat_past_the_last_length", dynamic([](DynamicBlock& b) { b.items = {{18, 127}, {18, 127}, {18, 127}}; }).bytes()},
        BrokenCase{"no_end_of_block_code", dynamic([](DynamicBlock& b) {
                       b.litlen = {{'a', 1}, {'b', 1}};
                       b.symbols = {'a'};
                   }).bytes()},
        BrokenCase{"literal_length_code_over_subscribed", dynamic([](DynamicBlock& b) { b.litlen['b'] = 1; }).bytes()},
        BrokenCase{"literal_length_code_incomplete", dynamic([](DynamicBlock& b) { b.litlen = {{'a', 2}, {256, 2}}; }).bytes()},
        BrokenCase{"distance_code_incomplete_beyond_one_bit", dynamic([](DynamicBlock& b) { b.dist = {{0, 2}}; }).bytes()},
        BrokenCase{"ends_inside_the_symbols", dynamic([](DynamicBlock& b) { b.symbols = {'a', 'a'}; }).bytes()}),
    [](const auto& info) { return std::string(info.param.name); });
