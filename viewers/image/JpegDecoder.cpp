#include "viewers/image/JpegDecoder.h"

#include "viewers/image/ExifOrientation.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to decode() with the library's message.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->pub.format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (a truncated file, a corrupt entropy segment) leave the picture decoded as far
// as it goes, as viewers do.
void outputMessage(j_common_ptr) {}

QByteArray exifOf(const jpeg_decompress_struct& info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1)
            return QByteArray(reinterpret_cast<const char*>(marker->data), int(marker->data_length));
    }
    return QByteArray();
}

// Adobe's files store CMYK inverted (0 is full ink), as most CMYK JPEGs do.
void cmykToRgb(QImage& image, bool inverted)
{
    for (int y = 0; y < image.height(); ++y) {
        uchar* pixel = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, pixel += 4) {
            const int k = inverted ? pixel[3] : 255 - pixel[3];
            for (int c = 0; c < 3; ++c)
                pixel[c] = uchar((inverted ? pixel[c] : 255 - pixel[c]) * k / 255);
            pixel[3] = 255;
        }
    }
}

void freeBuffer(void* data)
{
    std::free(data);
}

// The picture's pixels in memory the kernel may back with huge pages: a large photograph
// otherwise costs tens of thousands of page faults, more than its decoding.
QImage pictureBuffer(int width, int height, QImage::Format format)
{
    const qsizetype bytesPerLine = (qsizetype(width) * (format == QImage::Format_Grayscale8 ? 1 : 4) + 3) & ~qsizetype(3);
    const size_t size = size_t(bytesPerLine) * size_t(height);
    constexpr size_t kHugePage = size_t(2) << 20;
    if (size < kHugePage)
        return QImage(width, height, format);
    void* data = nullptr;
    if (posix_memalign(&data, kHugePage, (size + kHugePage - 1) & ~(kHugePage - 1)) != 0)
        return QImage();
    ::madvise(data, size, MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(data), width, height, bytesPerLine, format, freeBuffer, data);
}

ViewerStatus failure(const QString& text)
{
    return ViewerStatus::failure(QStringLiteral("JPEG: ") + text);
}

// The decoding proper; info is set up and its source attached. Kept apart from decode() so
// that no object with a destructor lives between setjmp and a longjmp.
ViewerStatus readPicture(jpeg_decompress_struct& info, int scaleIndex, QImage& target, int& orientation)
{
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 1u << scaleIndex;
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_RGBX;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    jpeg_calc_output_dimensions(&info);
    if (qint64(info.output_width) * info.output_height > JpegDecoder::MaxPixels)
        return failure(QStringLiteral("the picture is too large (%1 x %2)").arg(info.output_width).arg(info.output_height));
    orientation = ExifOrientation(exifOf(info));
    // CMYK rows are read into the four bytes of an RGBX pixel and turned to RGB afterwards.
    const QImage::Format format = info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGBX8888;
    target = pictureBuffer(int(info.output_width), int(info.output_height), format);
    if (target.isNull())
        return failure(QStringLiteral("not enough memory for the picture"));
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = target.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (info.out_color_space == JCS_CMYK)
        cmykToRgb(target, info.saw_Adobe_marker);
    return ViewerStatus();
}

} // namespace

ViewerStatus JpegDecoder::decode(const QByteArray& bytes, int scaleIndex, QImage& target)
{
    if (scaleIndex < 0 || scaleIndex > 3)
        return failure(QStringLiteral("no such scale"));
    if (bytes.isEmpty())
        return failure(QStringLiteral("the file is empty"));
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.output_message = outputMessage;
    QImage picture;
    int orientation = 1;
    ViewerStatus status;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return failure(QString::fromLocal8Bit(errors.message));
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxLibraryMemory;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    status = readPicture(info, scaleIndex, picture, orientation);
    jpeg_destroy_decompress(&info);
    if (!status)
        return status;
    target = OrientedUpright(picture, orientation);
    return ViewerStatus();
}
