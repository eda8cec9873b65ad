// The Run dialog's parameters: any text splits into words or is refused, never a crash, and
// the words never hold more characters than the text.
#include "viewers/RunCommand.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto words = RunCommand::SplitArguments(text)) {
        qsizetype total = 0;
        for (const QString& word : *words)
            total += word.size();
        if (total > text.size())
            std::abort();
    }
    return 0;
}
