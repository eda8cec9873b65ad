#pragma once
// Reduces a picture to at most 256 colours, as a GIF holds them. A picture that has 256
// colours or fewer keeps them exactly (a GIF converted to BMP and back is the same picture).
// Others get a median cut palette: the colour cube of a 15-bit histogram is split at the
// median of its longest side until there are 256 boxes, each box giving the mean of the
// pixels in it, and every pixel takes its nearest palette colour. No dithering: it would
// put noise on the flat areas of drawings and screenshots, the pictures GIF is chosen for,
// and noise costs the LZW coder much of its compression.

#include <QByteArray>
#include <QImage>
#include <QList>

struct IndexedPicture {
    int width = 0;
    int height = 0;
    QList<QRgb> palette;
    QByteArray indexes; // width * height, row by row
};

class MedianCut {
public:
    static IndexedPicture reduce(const QImage& picture, int maxColours = 256);
};
