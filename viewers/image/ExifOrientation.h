#pragma once
// The orientation a camera wrote into a JPEG's Exif block (tag 0x0112 of the first image
// directory): which way the stored pixels must be turned to stand upright. The block comes
// from the file, so every offset is checked against its length.

#include <QByteArray>
#include <QImage>

// 1 (upright, also when the block is missing or damaged) to 8, as the Exif standard numbers
// them. exif is the APP1 segment's payload, starting with "Exif\0\0".
int ExifOrientation(const QByteArray& exif);

// The picture turned and mirrored so that orientation becomes 1.
QImage OrientedUpright(const QImage& image, int orientation);
