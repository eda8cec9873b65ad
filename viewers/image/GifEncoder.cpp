#include "viewers/image/GifEncoder.h"

#include "viewers/image/MedianCut.h"

#include <gif_lib.h>

#include <memory>

namespace {

int appendTo(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// giflib wants a colour table of a power of two entries; the unused ones stay black.
std::unique_ptr<ColorMapObject, MapDeleter> colourMapOf(const QList<QRgb>& palette)
{
    const int size = 1 << GifBitSize(int(std::max<qsizetype>(palette.size(), 2)));
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(size, nullptr));
    if (!map)
        return map;
    for (int i = 0; i < size; ++i) {
        const QRgb colour = i < palette.size() ? palette[i] : 0;
        map->Colors[i] = {GifByteType(qRed(colour)), GifByteType(qGreen(colour)), GifByteType(qBlue(colour))};
    }
    return map;
}

bool writeImage(GifFileType* gif, IndexedPicture& picture, ColorMapObject* map)
{
    if (EGifPutScreenDesc(gif, picture.width, picture.height, map->BitsPerPixel, 0, map) != GIF_OK
        || EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) != GIF_OK)
        return false;
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<GifPixelType*>(picture.indexes.data() + qsizetype(y) * picture.width);
        if (EGifPutLine(gif, row, picture.width) != GIF_OK)
            return false;
    }
    return true;
}

} // namespace

ViewerStatus GifEncoder::encode(const QImage& picture, QByteArray& bytes)
{
    if (picture.isNull())
        return ViewerStatus::failure(QStringLiteral("GIF: the picture is empty"));
    if (picture.width() > 0xFFFF || picture.height() > 0xFFFF)
        return ViewerStatus::failure(QStringLiteral("GIF: the picture is too large for a GIF file"));
    IndexedPicture indexed = MedianCut::reduce(picture);
    const auto map = colourMapOf(indexed.palette);
    QByteArray out;
    int error = 0;
    GifFileType* gif = map ? EGifOpen(&out, appendTo, &error) : nullptr;
    if (!gif)
        return ViewerStatus::failure(QStringLiteral("GIF: the encoder cannot start"));
    const bool written = writeImage(gif, indexed, map.get());
    if (!written)
        error = gif->Error;
    if (EGifCloseFile(gif, written ? &error : nullptr) != GIF_OK || !written)
        return ViewerStatus::failure(QStringLiteral("GIF: the picture cannot be encoded (%1)").arg(QString::fromUtf8(GifErrorString(error))));
    bytes = std::move(out);
    return ViewerStatus();
}
