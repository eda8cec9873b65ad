#pragma once
// Decodes a JPEG held in memory through libjpeg at 1:1, 1:2, 1:4 or 1:8: the library's own
// scaled decoding works on fewer coefficients, so a picture at 1:8 costs a fraction of a
// full decode. The Exif orientation is honoured. Hostile headers are refused before any
// pixel memory is taken: the output size is limited, and so is the library's own memory
// (a progressive file keeps all its coefficients).

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>

#include <functional>

class FileDescriptor;
struct jpeg_decompress_struct;

class JpegDecoder {
public:
    // Pixels of the decoded picture at most (a 16384 x 16384 picture).
    static constexpr qint64 MaxPixels = qint64(16384) * 16384;
    // The library's working memory at most.
    static constexpr long MaxLibraryMemory = 1024L * 1024 * 1024;

    // scaleIndex 0 to 3 stands for 1:1, 1:2, 1:4, 1:8.
    static ViewerStatus decode(const QByteArray& bytes, int scaleIndex, QImage& target);
    // The same, read from an open file in chunks; head holds the file's first bytes, already
    // read (for telling its kind), and reading goes on after them.
    static ViewerStatus decode(const FileDescriptor& file, const QByteArray& head, int scaleIndex, QImage& target);

private:
    static ViewerStatus run(int scaleIndex, QImage& target, const std::function<void(jpeg_decompress_struct&)>& attachSource);
};
