// Feeds arbitrary bytes to the settings file parser and to the band layout decoder. Whatever
// parses must write back to text that parses to the same text again, and a decoded band
// record must encode to the same bytes.
#include "app/BandLayout.h"
#include "platform/RegistryFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    RegistryNode root;
    const Status parsed = RegistryFile::parse(bytes, root);
    if (parsed) {
        const QByteArray text = RegistryFile::serialize(root);
        RegistryNode again;
        if (!RegistryFile::parse(text, again) || RegistryFile::serialize(again) != text)
            std::abort();
    } else if (parsed.errorString().isEmpty()) {
        std::abort();
    }
    for (int toolBars : {7, 3}) {
        if (const auto bands = BandLayout::decode(bytes, toolBars)) {
            if (BandLayout::encode(*bands) != bytes)
                std::abort();
        }
    }
    return 0;
}
