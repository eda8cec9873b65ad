// A folder's ".hidden" file: every non-empty line must come back as a listed name.
#include "browse/HiddenList.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<char> bytes(data, data + size);
    const HiddenList list = HiddenList::fromBytes(bytes.data(), bytes.size());
    size_t start = 0;
    while (start < size) {
        const void* newline = std::memchr(bytes.data() + start, '\n', size - start);
        const size_t end = newline ? size_t(static_cast<const char*>(newline) - bytes.data()) : size;
        size_t length = end - start;
        if (length > 0 && bytes[start + length - 1] == '\r')
            --length;
        if (length > 0 && !list.contains(bytes.data() + start, length))
            std::abort();
        start = end + 1;
    }
    return 0;
}
