#include "viewers/image/JpegReader.h"

#include "viewers/image/ExifBlock.h"

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <sys/mman.h>
#include <unistd.h>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to run() with the library's message.
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

int orientationOf(const jpeg_decompress_struct& info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1)
            return ExifBlock::orientation(marker->data, marker->data_length);
    }
    return 1;
}

std::uint32_t rgb32(int red, int green, int blue)
{
    return 0xff000000u | std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | std::uint32_t(blue);
}

// Adobe's files store CMYK inverted (0 is full ink), as most CMYK JPEGs do.
void cmykToRgb(RawPicture& picture, bool inverted)
{
    for (int y = 0; y < picture.height; ++y) {
        unsigned char* line = picture.row(y);
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* cmyk = line + 4 * x;
            const int k = inverted ? cmyk[3] : 255 - cmyk[3];
            const auto ink = [&](int c) { return (inverted ? cmyk[c] : 255 - cmyk[c]) * k / 255; };
            reinterpret_cast<std::uint32_t*>(line)[x] = rgb32(ink(0), ink(1), ink(2));
        }
    }
}

// The pixel layout of RawPicture::Layout::Rgb32 (0xffRRGGBB in a 32-bit word), which the
// screen takes as it is: a picture in any other format is converted whenever it is shown.
constexpr J_COLOR_SPACE kRgb32 = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? JCS_EXT_BGRX : JCS_EXT_XRGB;

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

bool takePixels(RawPicture& picture, int width, int height, RawPicture::Layout layout)
{
    picture.width = width;
    picture.height = height;
    picture.layout = layout;
    picture.stride = (size_t(width) * (layout == RawPicture::Layout::Grey8 ? 1 : 4) + 3) & ~size_t(3);
    picture.pixels.reset(static_cast<unsigned char*>(largeBlock(picture.stride * size_t(height))));
    return picture.pixels != nullptr;
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

// Reads up to length bytes at offset, going on after short reads and interrupted calls;
// fewer only at the end of the file, -1 on an error.
std::int64_t readAt(int fd, std::int64_t offset, unsigned char* buffer, std::int64_t length)
{
    std::int64_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, buffer + done, size_t(length - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? -1 : done;
        done += got;
    }
    return done;
}

// Feeds libjpeg from an open file: first the bytes already read for telling the kind of the
// file, then chunks read at growing offsets. Reading in chunks keeps no copy of the whole
// file in memory: taking and zeroing fresh pages for a large photograph costs more than
// copying it.
struct FileSource {
    static constexpr std::int64_t ChunkSize = 64 * 1024;

    jpeg_source_mgr pub;
    int fd;
    const unsigned char* head;
    size_t headSize;
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
    if (!source->headGiven && source->headSize > 0) {
        source->headGiven = true;
        source->pub.next_input_byte = source->head;
        source->pub.bytes_in_buffer = source->headSize;
        return TRUE;
    }
    source->headGiven = true;
    const std::int64_t got = readAt(source->fd, source->offset, source->chunk, FileSource::ChunkSize);
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

std::string failure(const std::string& text)
{
    return "JPEG: " + text;
}

// The decoding proper; info is set up and its source attached. Kept apart from run() so
// that no object with a destructor lives between setjmp and a longjmp. Returns false when
// the picture is refused, with the reason in refusal (a fixed text).
bool readPicture(jpeg_decompress_struct& info, int scaleIndex, RawPicture& picture, char (&refusal)[JMSG_LENGTH_MAX])
{
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 1u << scaleIndex;
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : kRgb32;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    jpeg_calc_output_dimensions(&info);
    if (static_cast<long long>(info.output_width) * info.output_height > JpegReader::MaxPixels) {
        std::snprintf(refusal, sizeof refusal, "the picture is too large (%u x %u)", info.output_width, info.output_height);
        return false;
    }
    picture.orientation = orientationOf(info);
    // CMYK rows are read into the four bytes of an RGB32 pixel and turned to RGB afterwards.
    const auto layout = info.out_color_space == JCS_GRAYSCALE ? RawPicture::Layout::Grey8 : RawPicture::Layout::Rgb32;
    if (!takePixels(picture, int(info.output_width), int(info.output_height), layout)) {
        std::snprintf(refusal, sizeof refusal, "not enough memory for the picture");
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.row(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (info.out_color_space == JCS_CMYK)
        cmykToRgb(picture, info.saw_Adobe_marker);
    return true;
}

} // namespace

std::string JpegReader::decode(const unsigned char* bytes, std::size_t size, int scaleIndex, RawPicture& picture)
{
    if (size == 0)
        return failure("the file is empty");
    return run(scaleIndex, picture, [bytes, size](jpeg_decompress_struct& info) { jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size)); });
}

std::string JpegReader::decode(int fd, const unsigned char* head, std::size_t headSize, int scaleIndex, RawPicture& picture)
{
    auto source = std::make_unique<FileSource>();
    source->fd = fd;
    source->head = head;
    source->headSize = headSize;
    source->offset = std::int64_t(headSize);
    source->pub.init_source = initSource;
    source->pub.fill_input_buffer = fillInputBuffer;
    source->pub.skip_input_data = skipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = termSource;
    return run(scaleIndex, picture, [&source](jpeg_decompress_struct& info) { info.src = &source->pub; });
}

std::string JpegReader::run(int scaleIndex, RawPicture& picture, const std::function<void(jpeg_decompress_struct&)>& attachSource)
{
    if (scaleIndex < 0 || scaleIndex > 3)
        return failure("no such scale");
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.output_message = outputMessage;
    RawPicture decoded;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return failure(errors.message);
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxLibraryMemory;
    attachSource(info);
    const bool read = readPicture(info, scaleIndex, decoded, errors.message);
    jpeg_destroy_decompress(&info);
    if (!read)
        return failure(errors.message);
    picture = std::move(decoded);
    return std::string();
}
