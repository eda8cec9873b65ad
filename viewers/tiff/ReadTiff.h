#pragma once
// Reads the images of a TIFF file into a picture. Every image file directory is decoded in
// turn, so the target ends with the last image that decoded. What cannot be read is told to
// the user through the Prompter, and decoding goes on with the next image, except where
// the file itself is unusable.

#include "viewers/ViewerStatus.h"

#include <QImage>
#include <QString>

#include <functional>

class TFileTiff;

// Decodes the file's images into target. Success when the target holds a decoded image and
// decoding was not ended by an error the caller must handle; otherwise the status says why:
// the file cannot be opened or is no TIFF file, a width, height or image count is out of
// range, or no image decoded (the Prompter has then shown the messages already).
ViewerStatus ReadTiffFile(const QString& fileName, QImage& target);

// The same for a file already parsed (a file in memory, for instance).
ViewerStatus ReadTiff(const TFileTiff& file, QImage& target);

// The same, with what would be shown to the user handed to inform instead: a worker thread
// collects the messages for the window to show.
using TiffNotice = std::function<void(const QString& message)>;
ViewerStatus ReadTiff(const TFileTiff& file, QImage& target, const TiffNotice& inform);
