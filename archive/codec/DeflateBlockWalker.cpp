#include "codec/DeflateBlockWalker.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zipcodec {

namespace {

constexpr unsigned kMaxCodeLength = 15;
constexpr unsigned kEndOfBlock = 256;
// Symbols a code may name: literal/length 286 and 287 and distances 30 and 31 have fixed
// codes but no meaning, and a dynamic block may not give them lengths.
constexpr unsigned kLitlenSymbols = 286;
constexpr unsigned kDistSymbols = 30;
constexpr unsigned kCodeLengthSymbols = 19;
// Primary table sizes: most codes are decoded by one lookup in a table that stays in cache.
constexpr unsigned kLitlenPrimaryBits = 10;
constexpr unsigned kDistPrimaryBits = 8;
constexpr unsigned kCodeLengthPrimaryBits = 7; // code length codes are at most 7 bits: no subtables

// A table entry is a symbol (in the upper half) with the bits its code takes in the table it
// sits in (bits 10..14) and those plus the symbol's extra bits (the low byte), a link to a
// subtable (its offset in the upper half), or marked invalid: no code, or a code for a
// symbol that has no meaning.
constexpr uint32_t kLink = 1u << 8;
constexpr uint32_t kInvalid = 1u << 9;
constexpr uint32_t leaf(unsigned symbol, unsigned codeBits, unsigned extraBits)
{
    return uint32_t(symbol) << 16 | codeBits << 10 | (codeBits + extraBits);
}
unsigned codeBits(uint32_t entry) { return (entry >> 10) & 31; }

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// Extra bits by literal/length symbol and by distance symbol, for the table entries.
constexpr auto kLitlenExtraBits = [] {
    std::array<uint8_t, kLitlenSymbols> extra{};
    for (unsigned s = 257; s < kLitlenSymbols; ++s)
        extra[s] = kLengthExtra[s - 257];
    return extra;
}();
// A match never reaches further back than this: once as many bytes are out, every distance
// is in reach and need not be worked out.
constexpr uint64_t kWindowSize = 32768;
// The order in which a dynamic block lists the code length code's lengths.
constexpr uint8_t kCodeLengthOrder[kCodeLengthSymbols] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Huffman codes are packed starting with their most significant bit, so a table indexed by
// the next bits of the stream is indexed by the code reversed.
unsigned reversed(unsigned code, unsigned length)
{
    unsigned out = 0;
    for (unsigned i = 0; i < length; ++i, code >>= 1)
        out = out << 1 | (code & 1);
    return out;
}

} // namespace

// Reads the stream least significant bit first, 64 bits at a time where 8 bytes are left.
// It never reads outside the data: beyond its end it feeds zero bytes and counts them, so
// position() tells when a walk went past the end, and refill() fails once it has.
class DeflateBlockWalker::Bits {
public:
    Bits(const uint8_t* data, size_t n) : m_begin(data), m_next(data), m_end(data + n) {}

    // At least 56 bits ready, so one literal/length and one distance with their extra bits
    // (at most 48 bits) can be taken without checking again.
    bool refill()
    {
        if (m_end - m_next >= 8) {
            uint64_t word;
            std::memcpy(&word, m_next, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            word = __builtin_bswap64(word);
#endif
            m_bits |= word << m_count;
            m_next += (63 - m_count) >> 3;
            m_count |= 56;
            return true;
        }
        while (m_count < 56) {
            if (m_next < m_end)
                m_bits |= uint64_t(*m_next++) << m_count;
            else if (beyondEnd())
                return false;
            else
                ++m_padding;
            m_count += 8;
        }
        return true;
    }
    uint64_t peek() const { return m_bits; }
    void drop(unsigned n)
    {
        m_bits >>= n;
        m_count -= n;
    }
    unsigned take(unsigned n)
    {
        const auto value = unsigned(m_bits & ((uint64_t(1) << n) - 1));
        drop(n);
        return value;
    }
    void alignToByte() { drop(m_count & 7); }
    // Skips n bytes from a byte boundary; false when the data ends first.
    bool skipBytes(size_t n)
    {
        if (uint64_t(n) * 8 <= m_count) {
            drop(unsigned(n * 8));
            return true;
        }
        n -= m_count / 8;
        m_bits = 0;
        m_count = 0;
        if (m_padding > 0 || size_t(m_end - m_next) < n)
            return false;
        m_next += n;
        return true;
    }
    uint64_t position() const { return uint64_t(m_next - m_begin + m_padding) * 8 - m_count; }
    bool beyondEnd() const { return position() > uint64_t(m_end - m_begin) * 8; }

private:
    const uint8_t* m_begin;
    const uint8_t* m_next;
    const uint8_t* m_end;
    uint64_t m_bits = 0;
    unsigned m_count = 0; // bits ready in m_bits
    size_t m_padding = 0; // zero bytes fed beyond the end
};

DeflateBlockWalker::DeflateBlockWalker()
{
    uint8_t lengths[288];
    std::fill_n(lengths, 144, 8);
    std::fill_n(lengths + 144, 112, 9);
    std::fill_n(lengths + 256, 24, 7);
    std::fill_n(lengths + 280, 8, 8);
    buildTable(lengths, 288, kLitlenSymbols, kLitlenExtraBits.data(), kLitlenPrimaryBits, false, m_fixedLitlen);
    std::fill_n(lengths, 32, 5);
    buildTable(lengths, 32, kDistSymbols, kDistExtra, kDistPrimaryBits, false, m_fixedDist);
}

bool DeflateBlockWalker::walk(const uint8_t* data, size_t n)
{
    Bits in(data, n);
    m_produced = 0;
    for (;;) {
        if (!in.refill())
            return false;
        const uint64_t header = in.position();
        const bool final = in.take(1) != 0;
        if (!walkBlock(in, in.take(2)) || in.beyondEnd())
            return false;
        if (final) {
            m_finalBlockBit = header;
            m_endBit = in.position();
            return true;
        }
    }
}

bool DeflateBlockWalker::walkBlock(Bits& in, unsigned type)
{
    switch (type) {
    case 0:
        return skipStored(in);
    case 1:
        return skipSymbols(in, TableView(m_fixedLitlen), TableView(m_fixedDist));
    case 2:
        return readDynamicTables(in) && skipSymbols(in, TableView(m_litlen), TableView(m_dist));
    default:
        return false; // reserved
    }
}

bool DeflateBlockWalker::skipStored(Bits& in)
{
    in.alignToByte();
    if (!in.refill())
        return false;
    const unsigned length = in.take(16);
    const unsigned check = in.take(16);
    if (length != (~check & 0xFFFF))
        return false;
    m_produced += length;
    return in.skipBytes(length);
}

bool DeflateBlockWalker::readDynamicTables(Bits& in)
{
    if (!in.refill())
        return false;
    const unsigned litlenCount = 257 + in.take(5);
    const unsigned distCount = 1 + in.take(5);
    const unsigned codeLengthCount = 4 + in.take(4);
    if (litlenCount > kLitlenSymbols || distCount > kDistSymbols)
        return false;
    uint8_t codeLengths[kCodeLengthSymbols] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i) {
        if (!in.refill())
            return false;
        codeLengths[kCodeLengthOrder[i]] = uint8_t(in.take(3));
    }
    if (!buildTable(codeLengths, kCodeLengthSymbols, kCodeLengthSymbols, nullptr, kCodeLengthPrimaryBits, false,
                    m_codeLengths))
        return false;
    uint8_t lengths[kLitlenSymbols + kDistSymbols] = {};
    const unsigned total = litlenCount + distCount;
    for (unsigned i = 0; i < total;) {
        if (!in.refill())
            return false;
        unsigned symbol = 0;
        if (!decode(in, TableView(m_codeLengths), symbol))
            return false;
        if (symbol < 16) {
            lengths[i++] = uint8_t(symbol);
            continue;
        }
        uint8_t value = 0;
        unsigned repeat = 0;
        if (symbol == 16) {
            if (i == 0)
                return false; // nothing to repeat
            value = lengths[i - 1];
            repeat = 3 + in.take(2);
        } else {
            repeat = symbol == 17 ? 3 + in.take(3) : 11 + in.take(7);
        }
        if (repeat > total - i)
            return false;
        std::fill_n(lengths + i, repeat, value);
        i += repeat;
    }
    return lengths[kEndOfBlock] != 0
        && buildTable(lengths, litlenCount, kLitlenSymbols, kLitlenExtraBits.data(), kLitlenPrimaryBits, true, m_litlen)
        && buildTable(lengths + litlenCount, distCount, kDistSymbols, kDistExtra, kDistPrimaryBits, true, m_dist);
}

bool DeflateBlockWalker::buildTable(const uint8_t* lengths, unsigned count, unsigned validSymbols,
                                    const uint8_t* extraBits, unsigned primaryBits, bool mayBeIncomplete, Table& table)
{
    unsigned perLength[kMaxCodeLength + 1] = {};
    for (unsigned s = 0; s < count; ++s)
        ++perLength[lengths[s]];
    perLength[0] = 0;
    unsigned maxLength = 0;
    int left = 1; // code space still free, in units of the current length
    for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
        left = 2 * left - int(perLength[length]);
        if (left < 0)
            return false; // over-subscribed
        if (perLength[length] > 0)
            maxLength = length;
    }
    // An incomplete code is allowed only as a distance or literal/length code of no codes or
    // of one one-bit code; any other would leave bit patterns that mean nothing.
    if (left > 0 && !(mayBeIncomplete && maxLength <= 1))
        return false;

    table.primaryBits = primaryBits;
    table.subBits = maxLength > primaryBits ? maxLength - primaryBits : 0;
    const size_t primarySize = size_t(1) << primaryBits;
    const size_t subSize = size_t(1) << table.subBits;
    // Each subtable serves one primary slot, so all of them together take at most 2^maxLength.
    const size_t capacity = primarySize + (table.subBits > 0 ? size_t(1) << maxLength : 0);
    if (table.entries.size() < capacity)
        table.entries.resize(capacity);
    std::fill_n(table.entries.begin(), primarySize, kInvalid);

    unsigned next[kMaxCodeLength + 1] = {};
    for (unsigned length = 1, code = 0; length <= kMaxCodeLength; ++length) {
        code = (code + perLength[length - 1]) << 1;
        next[length] = code;
    }
    size_t used = primarySize;
    for (unsigned s = 0; s < count; ++s) {
        const unsigned length = lengths[s];
        if (length == 0)
            continue;
        const unsigned code = reversed(next[length]++, length);
        const uint32_t meaning = s < validSymbols ? 0 : kInvalid;
        const unsigned extra = s < validSymbols && extraBits ? extraBits[s] : 0;
        if (length <= primaryBits) {
            for (size_t i = code; i < primarySize; i += size_t(1) << length)
                table.entries[i] = leaf(s, length, extra) | meaning;
            continue;
        }
        // A complete code fills every slot of a subtable: each bit pattern after a long
        // code's first primaryBits bits starts with one of the codes that share them.
        const size_t slot = code & (primarySize - 1);
        if (!(table.entries[slot] & kLink)) {
            table.entries[slot] = uint32_t(used) << 16 | kLink;
            used += subSize;
        }
        const size_t base = table.entries[slot] >> 16;
        const unsigned subLength = length - primaryBits;
        for (size_t i = code >> primaryBits; i < subSize; i += size_t(1) << subLength)
            table.entries[base + i] = leaf(s, subLength, extra) | meaning;
    }
    return true;
}

inline uint32_t DeflateBlockWalker::lookup(Bits& in, TableView table)
{
    const uint64_t bits = in.peek();
    const uint32_t entry = table.entries[bits & table.primaryMask];
    if (!(entry & kLink))
        return entry;
    in.drop(table.primaryBits);
    return table.entries[(entry >> 16) + ((bits >> table.primaryBits) & table.subMask)];
}

inline bool DeflateBlockWalker::decode(Bits& in, TableView table, unsigned& symbol)
{
    const uint32_t entry = lookup(in, table);
    if (entry & kInvalid)
        return false;
    in.drop(codeBits(entry));
    symbol = entry >> 16;
    return true;
}

bool DeflateBlockWalker::skipSymbols(Bits& stream, TableView litlen, TableView dist)
{
    // Local copies keep the reader and the count in registers.
    Bits in = stream;
    uint64_t produced = m_produced;
    bool ok = false;
    // Near the stream's start a match may reach before its first byte: each is checked.
    while (produced < kWindowSize) {
        unsigned symbol = 0;
        if (!in.refill() || !decode(in, litlen, symbol))
            break;
        if (symbol < kEndOfBlock) {
            ++produced;
            continue;
        }
        if (symbol == kEndOfBlock) {
            ok = true;
            break;
        }
        const unsigned length = kLengthBase[symbol - 257] + in.take(kLengthExtra[symbol - 257]);
        if (!decode(in, dist, symbol))
            break;
        const unsigned distance = kDistBase[symbol] + in.take(kDistExtra[symbol]);
        if (distance > produced)
            break; // reaches back before the stream's first byte
        produced += length;
    }
    // Further on only the bits count: each code is skipped with its extra bits in one step.
    while (!ok && produced >= kWindowSize) {
        if (!in.refill())
            break;
        const uint32_t entry = lookup(in, litlen);
        if (entry & kInvalid)
            break;
        in.drop(entry & 0xFF);
        const unsigned symbol = entry >> 16;
        if (symbol < kEndOfBlock)
            continue;
        if (symbol == kEndOfBlock) {
            ok = true;
            break;
        }
        const uint32_t distance = lookup(in, dist);
        if (distance & kInvalid)
            break;
        in.drop(distance & 0xFF);
    }
    stream = in;
    m_produced = produced;
    return ok;
}

} // namespace zipcodec
