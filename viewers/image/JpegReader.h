#pragma once
// Decodes a JPEG through libjpeg at 1:1, 1:2, 1:4 or 1:8 into plain memory, with no Qt: the
// window (through JpegDecoder, which adopts the pixels into a QImage) and the fvtool
// launcher run this one code. The library's own scaled decoding works on fewer
// coefficients, so a picture at 1:8 costs a fraction of a full decode. Hostile headers are
// refused before any pixel memory is taken: the output size is limited, and so is the
// library's own memory (a progressive file keeps all its coefficients). The Exif
// orientation is read and left to the caller to apply.

#include "viewers/image/RawPicture.h"

#include <cstddef>
#include <functional>
#include <string>

struct jpeg_decompress_struct;

class JpegReader {
public:
    // Pixels of the decoded picture at most (a 16384 x 16384 picture).
    static constexpr long long MaxPixels = 16384LL * 16384;
    // The library's working memory at most.
    static constexpr long MaxLibraryMemory = 1024L * 1024 * 1024;

    // scaleIndex 0 to 3 stands for 1:1, 1:2, 1:4, 1:8. Each returns an empty string on
    // success, otherwise the failure, "JPEG: <reason>".
    static std::string decode(const unsigned char* bytes, std::size_t size, int scaleIndex, RawPicture& picture);
    // The same, read in chunks from fd, an open regular file: head holds its first headSize
    // bytes, already read (for telling its kind), and reading goes on after them.
    static std::string decode(int fd, const unsigned char* head, std::size_t headSize, int scaleIndex, RawPicture& picture);

private:
    static std::string run(int scaleIndex, RawPicture& picture, const std::function<void(jpeg_decompress_struct&)>& attachSource);
};
