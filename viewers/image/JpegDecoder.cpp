#include "viewers/image/JpegDecoder.h"

#include "platform/FileDescriptor.h"
#include "viewers/image/ExifOrientation.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <sys/mman.h>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

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
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const uchar* cmyk = line + 4 * x;
            const int k = inverted ? cmyk[3] : 255 - cmyk[3];
            const auto ink = [&](int c) { return (inverted ? cmyk[c] : 255 - cmyk[c]) * k / 255; };
            reinterpret_cast<QRgb*>(line)[x] = qRgb(ink(0), ink(1), ink(2));
        }
    }
}

// The pixel layout of QImage::Format_RGB32 (0xffRRGGBB in a 32-bit word), which the screen
// takes as it is: a picture in any other format is converted whenever it is put on screen.
constexpr J_COLOR_SPACE kRgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

void freeBuffer(void* data)
{
    std::free(data);
}

// Large blocks in memory the kernel may back with huge pages: a large photograph (its
// pixels, a progressive file's coefficients) otherwise costs tens of thousands of page
// faults, more than its decoding. Smaller blocks come from malloc; either is released by
// free().
void* largeBlock(size_t size)
{
    constexpr size_t kHugePage = size_t(2) << 20;
    if (size < kHugePage)
        return std::malloc(size);
    void* data = nullptr;
    if (posix_memalign(&data, kHugePage, (size + kHugePage - 1) & ~(kHugePage - 1)) != 0)
        return nullptr;
    ::madvise(data, size, MADV_HUGEPAGE);
    return data;
}

QImage pictureBuffer(int width, int height, QImage::Format format)
{
    const qsizetype bytesPerLine = (qsizetype(width) * (format == QImage::Format_Grayscale8 ? 1 : 4) + 3) & ~qsizetype(3);
    void* data = largeBlock(size_t(bytesPerLine) * size_t(height));
    if (!data)
        return QImage();
    return QImage(static_cast<uchar*>(data), width, height, bytesPerLine, format, freeBuffer, data);
}

} // namespace

// libjpeg takes its large blocks through these two functions of its system-dependent memory
// layer, which a program may supply in place of the library's own (plain malloc and free).
extern "C" {
void* jpeg_get_large(j_common_ptr, size_t size)
{
    return largeBlock(size);
}

void jpeg_free_large(j_common_ptr, void* block, size_t)
{
    std::free(block);
}
}

namespace {

// Feeds libjpeg from an open file: first the bytes already read for telling the kind of the
// file, then chunks read at growing offsets. Reading in chunks keeps no copy of the whole
// file in memory: taking and zeroing fresh pages for a large photograph costs more than
// copying it.
struct FileSource {
    static constexpr std::int64_t ChunkSize = 64 * 1024;

    jpeg_source_mgr pub;
    const FileDescriptor* file;
    QByteArray head;
    std::int64_t offset;
    bool headGiven = false;
    JOCTET chunk[ChunkSize];
};

void initSource(j_decompress_ptr) {}

void termSource(j_decompress_ptr) {}

// A file that ends early or cannot be read further ends in an inserted end-of-image marker,
// with a warning: the picture is shown as far as it was read.
boolean fillInputBuffer(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<FileSource*>(info->src);
    if (!source->headGiven && !source->head.isEmpty()) {
        source->headGiven = true;
        source->pub.next_input_byte = reinterpret_cast<const JOCTET*>(source->head.constData());
        source->pub.bytes_in_buffer = size_t(source->head.size());
        return TRUE;
    }
    source->headGiven = true;
    const std::int64_t got = source->file->readAt(source->offset, reinterpret_cast<char*>(source->chunk), FileSource::ChunkSize);
    if (got <= 0) {
        if (source->offset == 0)
            ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF);
        static const JOCTET endOfImage[2] = {0xFF, JPEG_EOI};
        source->pub.next_input_byte = endOfImage;
        source->pub.bytes_in_buffer = 2;
        return TRUE;
    }
    source->offset += got;
    source->pub.next_input_byte = source->chunk;
    source->pub.bytes_in_buffer = size_t(got);
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count)
{
    jpeg_source_mgr* source = info->src;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        fillInputBuffer(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= size_t(count);
    }
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
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : kRgb32;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    jpeg_calc_output_dimensions(&info);
    if (qint64(info.output_width) * info.output_height > JpegDecoder::MaxPixels)
        return failure(QStringLiteral("the picture is too large (%1 x %2)").arg(info.output_width).arg(info.output_height));
    orientation = ExifOrientation(exifOf(info));
    // CMYK rows are read into the four bytes of an RGB32 pixel and turned to RGB afterwards.
    const QImage::Format format = info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
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
    if (bytes.isEmpty())
        return failure(QStringLiteral("the file is empty"));
    return run(scaleIndex, target, [&bytes](jpeg_decompress_struct& info) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    });
}

ViewerStatus JpegDecoder::decode(const FileDescriptor& file, const QByteArray& head, int scaleIndex, QImage& target)
{
    auto source = std::make_unique<FileSource>();
    source->file = &file;
    source->head = head;
    source->offset = head.size();
    source->pub.init_source = initSource;
    source->pub.fill_input_buffer = fillInputBuffer;
    source->pub.skip_input_data = skipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = termSource;
    return run(scaleIndex, target, [&source](jpeg_decompress_struct& info) { info.src = &source->pub; });
}

ViewerStatus JpegDecoder::run(int scaleIndex, QImage& target, const std::function<void(jpeg_decompress_struct&)>& attachSource)
{
    if (scaleIndex < 0 || scaleIndex > 3)
        return failure(QStringLiteral("no such scale"));
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
    attachSource(info);
    status = readPicture(info, scaleIndex, picture, orientation);
    jpeg_destroy_decompress(&info);
    if (!status)
        return status;
    target = OrientedUpright(picture, orientation);
    return ViewerStatus();
}
