// Shortcut desktop entries: any bytes give a target or nothing, never a crash.
#include "platform/Shell.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)ShortcutTargetFromText(bytes);
    return 0;
}
