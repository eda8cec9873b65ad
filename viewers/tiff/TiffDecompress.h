#pragma once
// Decoders for the strip compressions the reader understands besides none: PackBits, LZW
// and Deflate, and the horizontal differencing predictor that LZW and Deflate files use.

#include <QByteArray>

#include <cstdint>

namespace tiff {

enum CompressionScheme : uint32_t {
    NoCompression = 1,
    Lzw = 5,
    AdobeDeflate = 8,
    PackBits = 32773,
    Deflate = 32946,
};

bool canDecompress(uint32_t compression);

// The most bytes one compressed byte can stand for in the scheme: an image that claims more
// than that many times the bytes of its file cannot be whole, and is refused before any
// buffer is sized for it.
uint64_t maxExpansion(uint32_t compression);

// Appends the decoded bytes of one strip to out, at most limit of them. False when the
// data is damaged; what was decoded before the damage stays appended.
bool decompressStrip(uint32_t compression, const QByteArray& in, QByteArray& out, qsizetype limit);

// Undoes horizontal differencing (predictor 2) of 8-bit samples, row by row.
void undoHorizontalDifferencing(char* data, qsizetype rowBytes, qsizetype rows, int samplesPerPixel);

} // namespace tiff
