#pragma once
// The orientation a camera wrote into a JPEG's Exif block (tag 0x0112 of the first image
// directory): which way the stored pixels must be turned to stand upright. Plain C++, for
// the JPEG reader, which runs without Qt. The block comes from the file, so every offset is
// checked against its length.

#include <cstddef>

class ExifBlock {
public:
    // 1 (upright, also when the block is missing or damaged) to 8, as the Exif standard
    // numbers them. data is the APP1 segment's payload, starting with "Exif\0\0".
    static int orientation(const unsigned char* data, std::size_t size);
};
