#pragma once
// Pictures and a closeness measure shared by the picture format tests.

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
