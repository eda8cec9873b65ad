#include "viewers/image/JpegDecoder.h"

#include "platform/FileDescriptor.h"
#include "viewers/image/ExifOrientation.h"
#include "viewers/image/JpegReader.h"

#include <cstdlib>

namespace {

void freeBuffer(void* data)
{
    std::free(data);
}

} // namespace

ViewerStatus JpegDecoder::decode(const QByteArray& bytes, int scaleIndex, QImage& target)
{
    RawPicture picture;
    const std::string failure = JpegReader::decode(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()), scaleIndex, picture);
    return adopt(failure, picture, target);
}

ViewerStatus JpegDecoder::decode(const FileDescriptor& file, const QByteArray& head, int scaleIndex, QImage& target)
{
    RawPicture picture;
    const std::string failure = JpegReader::decode(file.get(), reinterpret_cast<const unsigned char*>(head.constData()), size_t(head.size()), scaleIndex, picture);
    return adopt(failure, picture, target);
}

ViewerStatus JpegDecoder::adopt(const std::string& failure, RawPicture& picture, QImage& target)
{
    if (!failure.empty())
        return ViewerStatus::failure(QString::fromLocal8Bit(failure.data(), qsizetype(failure.size())));
    const QImage::Format format = picture.layout == RawPicture::Layout::Grey8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    unsigned char* pixels = picture.pixels.release();
    const QImage image(pixels, picture.width, picture.height, qsizetype(picture.stride), format, freeBuffer, pixels);
    target = OrientedUpright(image, picture.orientation);
    return ViewerStatus();
}
