#include "viewers/image/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// The rows are written from an RGB888 copy; info is set up with its destination.
void writeRows(jpeg_compress_struct& info, const QImage& rgb)
{
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
}

} // namespace

ViewerStatus JpegEncoder::encode(const QImage& picture, QByteArray& bytes)
{
    if (picture.isNull())
        return ViewerStatus::failure(QStringLiteral("JPEG: the picture is empty"));
    if (picture.width() > JPEG_MAX_DIMENSION || picture.height() > JPEG_MAX_DIMENSION)
        return ViewerStatus::failure(QStringLiteral("JPEG: the picture is too large for a JPEG file"));
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return ViewerStatus::failure(QStringLiteral("JPEG: the picture cannot be encoded"));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    writeRows(info, rgb);
    jpeg_destroy_compress(&info);
    bytes = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return ViewerStatus();
}
