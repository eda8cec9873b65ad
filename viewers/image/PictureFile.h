#pragma once
// Loads a picture file for the image viewer and the conversions: BMP, ICO, GIF (animated
// ones keep their bytes for playing), JPEG at a decoding scale and TIFF through our reader.
// Plain C++ with no widget, safe on a worker thread: it reads only regular files (a FIFO
// would block the reader, a device acts on being read), sizes every allocation from checked
// values, and says why a file cannot be shown.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

enum class PictureKind { Bitmap, Icon, Metafile, Gif, Jpeg, Tiff };

struct LoadedPicture {
    QImage image;
    PictureKind kind = PictureKind::Bitmap;
    // The file's bytes when it is a GIF of more than one frame, for the pane to play.
    QByteArray animation;
    // What the reader told about parts it could not read (a TIFF image it skipped).
    QStringList notes;
};

class PictureFile {
public:
    // Files larger than this are refused before they are read.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;
    // Pixels of a decoded picture at most.
    static constexpr qint64 MaxPixels = qint64(16384) * 16384;

    // scaleIndex 0 to 3 (1:1, 1:2, 1:4, 1:8) applies to JPEG files only.
    static ViewerStatus load(const QString& path, int scaleIndex, LoadedPicture& picture);
    // The same for bytes already read; name is used in messages only.
    static ViewerStatus decode(const QByteArray& bytes, const QString& name, int scaleIndex, LoadedPicture& picture);
    // Reads the whole of a regular file.
    static ViewerStatus readBytes(const QString& path, QByteArray& bytes);
    // The kind by the file's first bytes; Metafile for WMF and EMF headers.
    static std::optional<PictureKind> sniff(const QByteArray& bytes);
};
