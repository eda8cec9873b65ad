// Walks the input as a raw deflate stream and holds the walker to zlib's verdict: both take
// it with the same final block and end, or both refuse it.
#include "archive/codec/DeflateBlockWalker.h"
#include "tests/support/ZlibBlockLayout.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static zipcodec::DeflateBlockWalker walker;
    std::optional<DeflateLayout> walked;
    if (walker.walk(data, size))
        walked = DeflateLayout{walker.finalBlockBit(), walker.endBit()};
    if (walked != zlibBlockLayout(data, size))
        std::abort();
    return 0;
}
