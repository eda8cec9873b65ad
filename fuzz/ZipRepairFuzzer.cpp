// Runs the repair scan over the input and writes the rebuilt archive to memory; when it
// holds entries, the engine must be able to open it again.
#include "archive/TFolZipFix.h"
#include "archive/ZipReader.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray rebuilt;
    QBuffer out(&rebuilt);
    out.open(QIODevice::WriteOnly);
    int accepted = 0;
    TFolZipFix fix;
    fix.OnFileFound = [&](TFolZipFix*, const QString&, bool ok) { accepted += ok ? 1 : 0; };
    static const uint8_t none = 0;
    fix.ReclaimZip(size ? data : &none, size, &out);
    if (accepted > 0) {
        ZipReader reader;
        if (!reader.openMemory(reinterpret_cast<const uint8_t*>(rebuilt.constData()), size_t(rebuilt.size())))
            std::abort(); // the repair wrote an archive its own engine cannot open
    }
    return 0;
}
