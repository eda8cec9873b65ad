#pragma once
// The orientation a camera wrote into a JPEG's Exif block, for Qt callers (read by
// ExifBlock), and the picture turned upright by it.

#include <QByteArray>
#include <QImage>

// 1 (upright, also when the block is missing or damaged) to 8, as the Exif standard numbers
// them. exif is the APP1 segment's payload, starting with "Exif\0\0".
int ExifOrientation(const QByteArray& exif);

// The picture turned and mirrored so that orientation becomes 1.
QImage OrientedUpright(const QImage& image, int orientation);
