#pragma once
// Decodes a JPEG at 1:1, 1:2, 1:4 or 1:8 into a QImage for the image viewer: JpegReader
// decodes (the code fvtool runs too), the QImage takes its pixels over without a copy, and
// the Exif orientation is applied.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>

#include <string>

class FileDescriptor;
struct RawPicture;

class JpegDecoder {
public:
    // scaleIndex 0 to 3 stands for 1:1, 1:2, 1:4, 1:8.
    static ViewerStatus decode(const QByteArray& bytes, int scaleIndex, QImage& target);
    // The same, read from an open file in chunks; head holds the file's first bytes, already
    // read (for telling its kind), and reading goes on after them.
    static ViewerStatus decode(const FileDescriptor& file, const QByteArray& head, int scaleIndex, QImage& target);

private:
    static ViewerStatus adopt(const std::string& failure, RawPicture& picture, QImage& target);
};
