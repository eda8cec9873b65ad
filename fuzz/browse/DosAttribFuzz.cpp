// Samba's user.DOSATTRIB value, as stored on a file by anyone who could write it.
#include "browse/DosAttrib.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly `size` bytes, so that any read past the end is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const std::optional<uint32_t> attributes = DosAttrib::parse(bytes.data(), bytes.size());
    if (attributes && size < 3)
        std::abort(); // no encoding is that short
    return 0;
}
