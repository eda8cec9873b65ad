#pragma once
// Writes a picture as an uncompressed single-strip TIFF in Intel byte order, with a fixed
// directory for each of its kinds:
//   1 bit   black-and-white pictures (zero is black), 14 entries;
//   4 bits  pictures of up to 16 palette colours, 15 entries with a 16-colour map;
//   8 bits  other palette and gray pictures, 15 entries with a 256-colour map;
//   24 bits everything else (red, green, blue; alpha is not kept), 15 entries.

#include "viewers/ViewerStatus.h"

#include <QImage>
#include <QString>

class QIODevice;

// Writes source to out. Fails for an empty picture, one too large for a TIFF file, or a
// failed write.
ViewerStatus WriteTiffStream(QIODevice& out, const QImage& source);

// Writes source to the named file through a temporary file in the same folder that replaces
// the file only once it is complete; an existing file is kept when anything fails.
ViewerStatus WriteTiffFile(const QString& fileName, const QImage& source);
