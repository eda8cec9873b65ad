// Opens the input as an archive and reads every entry (with a password, so that encrypted
// entries go through the cipher too), discarding the bytes.
#include "archive/ZipReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ZipReader reader;
    if (!reader.openMemory(data, size))
        return 0;
    const auto discard = [](const uint8_t*, size_t) { return true; };
    for (const auto& entry : reader.entries()) {
        reader.read(entry, "password", discard, nullptr);
        uint64_t start = 0, length = 0;
        reader.rawRange(entry, start, length);
        zipfmt::decodeName(entry.header);
        entry.lastModified();
    }
    return 0;
}
