// GIF writing: a picture of few colours is kept exactly, a photograph is reduced to a
// palette of at most 256 colours close to it, and other programs read what we write.
#include "viewers/image/GifEncoder.h"
#include "viewers/image/MedianCut.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/PictureSamples.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage drawing()
{
    return twoRectangles(90, 60);
}

// Every pixel a different colour: far more than 256.
QImage gradient()
{
    QImage image(256, 128, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x, y * 2, 255 - (x + y) / 2));
    return image;
}

QImage readBack(const QByteArray& gif)
{
    LoadedPicture picture;
    EXPECT_TRUE(PictureFile::decode(gif, QStringLiteral("t.gif"), 0, picture).ok());
    EXPECT_EQ(picture.kind, PictureKind::Gif);
    return picture.image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(GifEncoder, FewColoursAreKeptAndManyAreReducedClosely)
{
    QByteArray gif;
    ASSERT_TRUE(GifEncoder::encode(drawing(), gif).ok());
    EXPECT_TRUE(gif.startsWith("GIF8"));
    EXPECT_EQ(readBack(gif), drawing());

    const IndexedPicture reduced = MedianCut::reduce(gradient());
    EXPECT_LE(reduced.palette.size(), 256);
    EXPECT_GT(reduced.palette.size(), 200) << "the palette's room is used";
    ASSERT_TRUE(GifEncoder::encode(gradient(), gif).ok());
    const QImage back = readBack(gif);
    ASSERT_EQ(back.size(), gradient().size());
    EXPECT_LT(meanChannelDifference(back, gradient()), 4.0) << "each channel within a few steps on average";

    QImage single(3, 2, QImage::Format_RGB32);
    single.fill(Qt::black);
    ASSERT_TRUE(GifEncoder::encode(single, gif).ok());
    EXPECT_EQ(readBack(gif), single);
    EXPECT_FALSE(GifEncoder::encode(QImage(), gif).ok());
}

TEST(GifEncoder, ImageMagickReadsWhatWeWrite)
{
    const QString compare = QStandardPaths::findExecutable(QStringLiteral("compare"));
    if (compare.isEmpty())
        GTEST_SKIP() << "ImageMagick is not installed";
    QTemporaryDir dir;
    QByteArray gif;
    ASSERT_TRUE(GifEncoder::encode(drawing(), gif).ok());
    QFile file(dir.filePath(QStringLiteral("d.gif")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(gif);
    file.close();
    ASSERT_TRUE(drawing().save(dir.filePath(QStringLiteral("d.png"))));
    QProcess process;
    process.start(compare, {QStringLiteral("-metric"), QStringLiteral("AE"), file.fileName(), dir.filePath(QStringLiteral("d.png")), QStringLiteral("null:")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.readAllStandardError().trimmed(), QByteArray("0")) << "no pixel differs";
}
