#pragma once
// Writes a picture as a placeable Windows metafile: the placeable header (bounds of the
// picture's width and height at 96 units per inch, so other programs show it at its pixel
// size), the metafile header, the window origin and extent, one STRETCHDIB record with the
// picture as a 24-bit DIB drawn at (0, 0), and the end record.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>

class WmfWriter {
public:
    // A placeable header holds 16-bit coordinates: larger pictures are refused.
    static constexpr int MaxSide = 32767;
    static ViewerStatus write(const QImage& picture, QByteArray& bytes);
};
