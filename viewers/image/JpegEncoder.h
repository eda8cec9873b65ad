#pragma once
// Encodes a picture as a baseline JPEG through libjpeg with the library's default settings
// (quality 75), as the conversions to JPG write it.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>

class JpegEncoder {
public:
    static ViewerStatus encode(const QImage& picture, QByteArray& bytes);
};
