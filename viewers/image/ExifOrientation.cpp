#include "viewers/image/ExifOrientation.h"

#include "viewers/image/ExifBlock.h"

#include <QTransform>

int ExifOrientation(const QByteArray& exif)
{
    return ExifBlock::orientation(reinterpret_cast<const unsigned char*>(exif.constData()), size_t(exif.size()));
}

QImage OrientedUpright(const QImage& image, int orientation)
{
    // 2, 4, 5 and 7 are mirrored (5 and 7 left to right, then turned); 3 turns half round,
    // 6 and 7 a quarter clockwise, 5 and 8 three quarters.
    QImage turned = image;
    if (orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7)
        turned = turned.mirrored(orientation != 4, orientation == 4);
    int degrees = 0;
    if (orientation == 3)
        degrees = 180;
    else if (orientation == 6 || orientation == 7)
        degrees = 90;
    else if (orientation == 5 || orientation == 8)
        degrees = 270;
    if (degrees == 0)
        return turned;
    return turned.transformed(QTransform().rotate(degrees));
}
