#pragma once
// Where a raw deflate stream's final block starts and ends, as zlib's inflate finds it: an
// outside oracle for the deflate block walker, shared by its test and its fuzz target.

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct DeflateLayout {
    uint64_t finalBlockBit;
    uint64_t endBit;
    bool operator==(const DeflateLayout&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const DeflateLayout& l)
{
    return os << "final block at bit " << l.finalBlockBit << ", end at bit " << l.endBit;
}

// zlib's Z_BLOCK mode stops at every block boundary and tells the bit position there
// (data_type: bit 7 at a boundary, bit 6 once the final block is done, the low bits the
// unused bits of the last byte taken). Nothing when zlib refuses the stream or it ends early.
inline std::optional<DeflateLayout> zlibBlockLayout(const uint8_t* data, size_t n)
{
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(n);
    std::vector<uint8_t> out(1 << 16);
    std::optional<DeflateLayout> layout;
    uint64_t lastBoundary = 0;
    for (;;) {
        if (z.avail_out == 0) {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
        }
        const int rc = inflate(&z, Z_BLOCK);
        if (rc != Z_OK && rc != Z_STREAM_END)
            break; // damaged, or no progress without more input
        if (!(z.data_type & 128))
            continue;
        const uint64_t at = uint64_t(z.total_in) * 8 - uint64_t(z.data_type & 7);
        if (z.data_type & 64) {
            layout = DeflateLayout{lastBoundary, at};
            break;
        }
        lastBoundary = at;
    }
    inflateEnd(&z);
    return layout;
}
