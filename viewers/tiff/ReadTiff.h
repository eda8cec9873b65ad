#pragma once
// Reads the images of a TIFF file into a picture. Every image file directory is decoded in
// turn, so the target ends with the last image that decoded. What cannot be read is told to
// the user through the Prompter, and decoding goes on with the next image, except where
// the file itself is unusable.

#include <QImage>
#include <QString>

class TFileTiff;

// Decodes the file's images into target. True when the target holds a decoded image and
// decoding was not ended by an error the caller must handle; otherwise *errorString (when
// given) says why: a width, height or image count out of range, or no image that decoded
// (the messages have then been shown already).
bool ReadTiffFile(const QString& fileName, QImage& target, QString* errorString = nullptr);

// The same for a file already parsed (a file in memory, for instance).
bool ReadTiff(const TFileTiff& file, QImage& target, QString* errorString = nullptr);
