// Feeds arbitrary bytes to the TIFF reader as a whole file: parse every directory, then
// decode every image. Messages go to the silent prompter.
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFileTiff file;
    file.setData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("fuzz.tif"));
    QImage image;
    ReadTiff(file, image);
    return 0;
}
