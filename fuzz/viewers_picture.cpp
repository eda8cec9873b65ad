// Picture files: any bytes give a picture or a clear failure, never a crash, at every JPEG
// scale; a decoded picture is never larger than the limit, and the Exif reader never reads
// past its block.
#include "viewers/image/ExifOrientation.h"
#include "viewers/image/PictureFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const int orientation = ExifOrientation(bytes);
    if (orientation < 1 || orientation > 8)
        std::abort();
    LoadedPicture picture;
    const ViewerStatus status = PictureFile::decode(bytes, QStringLiteral("fuzz"), int(size % 4), picture);
    if (!status && status.errorString().isEmpty())
        std::abort();
    if (qint64(picture.image.width()) * picture.image.height() > PictureFile::MaxPixels)
        std::abort();
    return 0;
}
