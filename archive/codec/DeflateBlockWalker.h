#pragma once
// Finds where a raw deflate stream (RFC 1951) puts its final block, without inflating it:
// block headers and Huffman code tables are parsed, symbols are decoded only to be skipped,
// and no bytes are produced (no window, no match copies). BlockDeflater uses it to turn a
// piece's final block into one more block of a longer stream.
//
// The walk refuses what an inflater would refuse: reserved block types, stored lengths that
// do not match, over-subscribed or wrongly incomplete codes, bad repeats in the code lengths,
// codes for symbols that do not exist, a missing end-of-block code, matches that reach back
// before the start of the stream, and a stream that ends before its final block does. Every
// read stays inside the given bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zipcodec {

class DeflateBlockWalker {
public:
    DeflateBlockWalker();

    // Walks the stream in data[0, n). True when it holds one complete, well-formed deflate
    // stream (bytes after its end are ignored); the bit offsets below are then set. A bit
    // offset counts from the first byte's lowest bit.
    bool walk(const uint8_t* data, size_t n);
    // Where the final block's header (its BFINAL bit) is.
    uint64_t finalBlockBit() const { return m_finalBlockBit; }
    // Just past the final block's last bit.
    uint64_t endBit() const { return m_endBit; }

private:
    // A decoding table: a primary table indexed by the next primaryBits bits, whose entries
    // are symbols or links to subtables for the longer codes.
    struct Table {
        std::vector<uint32_t> entries;
        unsigned primaryBits = 0;
        unsigned subBits = 0;
    };
    // What a lookup needs of a table, taken into locals for a block's symbols.
    struct TableView {
        const uint32_t* entries;
        unsigned primaryBits;
        uint64_t primaryMask;
        uint64_t subMask;
        explicit TableView(const Table& t)
            : entries(t.entries.data()), primaryBits(t.primaryBits), primaryMask((uint64_t(1) << t.primaryBits) - 1),
              subMask((uint64_t(1) << t.subBits) - 1) {}
    };
    class Bits;
    static bool buildTable(const uint8_t* lengths, unsigned count, unsigned validSymbols, const uint8_t* extraBits,
                           unsigned primaryBits, bool mayBeIncomplete, Table& table);
    static uint32_t lookup(Bits& in, TableView table);
    static bool decode(Bits& in, TableView table, unsigned& symbol);
    bool walkBlock(Bits& in, unsigned type);
    bool readDynamicTables(Bits& in);
    bool skipSymbols(Bits& in, TableView litlen, TableView dist);
    bool skipStored(Bits& in);

    Table m_fixedLitlen, m_fixedDist;
    Table m_litlen, m_dist, m_codeLengths;
    uint64_t m_produced = 0; // bytes the stream inflates to so far, counted up to the window's size
    uint64_t m_finalBlockBit = 0;
    uint64_t m_endBit = 0;
};

} // namespace zipcodec
