#pragma once
// Pictures, a closeness measure and an Exif orientation for a JPEG, shared by the picture
// format tests and the fvtool launcher's.

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <cstdlib>

// A drawing of few colours (white, a red and a blue rectangle) that GIF keeps exactly.
inline QImage twoRectangles(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(width / 9, height / 8, width / 3, height / 3, QColor(200, 30, 40));
    painter.fillRect(width / 2 + width / 20, height / 2, width / 3, height / 3, QColor(10, 90, 230));
    return image;
}

// The mean difference of the colour channels of two pictures of the same size.
inline double meanChannelDifference(const QImage& a, const QImage& b)
{
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return total / (3.0 * a.width() * a.height());
}

// An APP1 segment holding a big-endian Exif block with one entry: the orientation.
inline QByteArray withOrientation(const QByteArray& jpeg, int orientation)
{
    QByteArray exif("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01", 16);
    exif += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);
    exif += char(0);
    exif += char(orientation);
    exif += QByteArray("\0\0\0\0\0\0", 6);
    QByteArray segment("\xFF\xE1", 2);
    const int length = int(exif.size()) + 2;
    segment += char(length >> 8);
    segment += char(length & 0xff);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}
