#pragma once
// Writes a picture as a single-image GIF through giflib, its colours reduced by MedianCut.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>

class GifEncoder {
public:
    static ViewerStatus encode(const QImage& picture, QByteArray& bytes);
};
