#pragma once
// A decoded picture in plain memory, with no Qt: the fvtool launcher reads it as it is, and
// the window adopts its pixels into a QImage without copying them. Rows lie stride bytes
// apart (a multiple of 4); a pixel is one grey byte, or a 32-bit word 0xffRRGGBB in the
// machine's byte order: the layouts of QImage::Format_Grayscale8 and QImage::Format_RGB32.

#include <cstddef>
#include <cstdlib>
#include <memory>

struct RawPicture {
    enum class Layout { Grey8, Rgb32 };
    struct FreeBlock {
        void operator()(unsigned char* data) const { std::free(data); }
    };

    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    Layout layout = Layout::Rgb32;
    // Taken with malloc() or posix_memalign(), released with free(): whoever takes the
    // pixels over releases them so.
    std::unique_ptr<unsigned char, FreeBlock> pixels;
    // The Exif orientation (1 to 8) of the pixels as stored; the viewer turns them upright.
    int orientation = 1;

    unsigned char* row(int y) const { return pixels.get() + std::size_t(y) * stride; }
    // The size once turned upright: orientations 5 to 8 turn the picture a quarter.
    int uprightWidth() const { return orientation >= 5 ? height : width; }
    int uprightHeight() const { return orientation >= 5 ? width : height; }
};
