// The crop frame: normalised whichever way it is dragged, limited to the picture, and what
// Copy takes with and without a drag and after Select All.
#include "viewers/image/CropFrame.h"

#include <gtest/gtest.h>

namespace {

// Every pixel a different colour, so a copy shows where it came from.
QImage numbered(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x, y, 7));
    return image;
}

} // namespace

TEST(CropFrame, DragsAreNormalisedAndLimitedToThePicture)
{
    const QSize size(100, 80);
    const struct {
        QPoint from, to;
        QRect frame;
    } cases[] = {
        {{10, 20}, {40, 50}, QRect(10, 20, 30, 30)},
        {{40, 50}, {10, 20}, QRect(10, 20, 30, 30)}, // bottom-right to top-left
        {{40, 20}, {10, 50}, QRect(10, 20, 30, 30)},
        {{90, 70}, {300, 200}, QRect(90, 70, 10, 10)}, // ending outside the picture
        {{5, 5}, {-20, -30}, QRect(0, 0, 5, 5)},
    };
    for (const auto& c : cases) {
        CropFrame crop;
        crop.press(c.from);
        EXPECT_EQ(crop.drag(c.to, size), c.frame) << c.from.x() << "," << c.from.y() << " to " << c.to.x() << "," << c.to.y();
        EXPECT_EQ(crop.frame(), c.frame);
    }
    CropFrame unstarted;
    EXPECT_TRUE(unstarted.drag({30, 30}, size).isEmpty()) << "a move without a press draws nothing";
}

TEST(CropFrame, CopyTakesTheFrameOrTheWholePicture)
{
    const QImage picture = numbered(60, 40);
    CropFrame crop;
    EXPECT_EQ(crop.copyOf(picture), picture) << "no drag: the whole picture";
    crop.press({30, 25});
    crop.drag({10, 5}, picture.size());
    const QImage part = crop.copyOf(picture);
    ASSERT_EQ(part.size(), QSize(20, 20));
    EXPECT_EQ(part.pixel(0, 0), picture.pixel(10, 5));
    EXPECT_EQ(part.pixel(19, 19), picture.pixel(29, 24));
    crop.selectAll(picture.size());
    EXPECT_EQ(crop.frame(), QRect(0, 0, 60, 40));
    EXPECT_EQ(crop.copyOf(picture), picture) << "after Select All: the whole picture";
    crop.clear();
    EXPECT_TRUE(crop.frame().isEmpty());
    EXPECT_FALSE(crop.started());
}

TEST(CropFrame, TheFrameIsDrawnOverThePictureAndNotIntoIt)
{
    QImage picture(30, 30, QImage::Format_RGB32);
    picture.fill(Qt::black);
    CropFrame crop;
    crop.press({5, 5});
    crop.drag({20, 20}, picture.size());
    const QImage drawn = crop.drawnOn(picture);
    int inverted = 0;
    for (int x = 5; x < 20; ++x)
        inverted += drawn.pixel(x, 5) == qRgb(255, 255, 255) ? 1 : 0;
    EXPECT_GT(inverted, 3) << "inverted where the dotted frame runs";
    EXPECT_LT(inverted, 15) << "dotted, not solid";
    EXPECT_EQ(drawn.pixel(12, 12), qRgb(0, 0, 0)) << "the inside stays";
    EXPECT_EQ(picture.pixelColor(6, 5), QColor(Qt::black)) << "the picture itself is untouched";
    EXPECT_EQ(crop.copyOf(picture).pixel(0, 0), qRgb(0, 0, 0)) << "the copy holds no frame line";
}
