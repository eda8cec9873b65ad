// The image viewer's picture loading: JPEG at the four decoding scales with the Exif
// orientation, the other formats by their first bytes, and files that must give a clear
// error at once (a FIFO, a damaged or hostile header) instead of a hang or a huge allocation.
#include "viewers/image/ExifOrientation.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/PictureSamples.h"
#include "viewers/tiff/Bmp2Tiff.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Left half red, right half blue, so that turning and mirroring show in the pixels.
QImage halves(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, format == QByteArrayLiteral("jpg") ? 95 : -1);
    return bytes;
}

bool isRed(QRgb pixel) { return qRed(pixel) > 200 && qBlue(pixel) < 60; }
bool isBlue(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 60; }

LoadedPicture decoded(const QByteArray& bytes, int scaleIndex, ViewerStatus* status = nullptr)
{
    LoadedPicture picture;
    const ViewerStatus result = PictureFile::decode(bytes, QStringLiteral("test"), scaleIndex, picture);
    if (status)
        *status = result;
    else
        EXPECT_TRUE(result.ok()) << result.errorString().toStdString();
    return picture;
}

} // namespace

TEST(PictureFile, JpegDecodesAtEachScaleByTheLibrarysOwnScaling)
{
    const QByteArray jpeg = encoded(halves(64, 48), "jpg");
    const struct {
        int index;
        QSize size;
    } cases[] = {{0, {64, 48}}, {1, {32, 24}}, {2, {16, 12}}, {3, {8, 6}}};
    for (const auto& c : cases) {
        const LoadedPicture picture = decoded(jpeg, c.index);
        EXPECT_EQ(picture.kind, PictureKind::Jpeg);
        EXPECT_EQ(picture.image.size(), c.size) << "scale index " << c.index;
        EXPECT_TRUE(isRed(picture.image.pixel(0, 0)));
        EXPECT_TRUE(isBlue(picture.image.pixel(c.size.width() - 1, 0)));
        // The screen's own format, so that showing the picture converts nothing.
        EXPECT_EQ(picture.image.format(), QImage::Format_RGB32);
    }
    // A grey JPEG keeps one channel.
    const QImage grey = decoded(encoded(halves(16, 16).convertToFormat(QImage::Format_Grayscale8), "jpg"), 0).image;
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
}

TEST(PictureFile, ExifOrientationStandsThePictureUpright)
{
    const QByteArray jpeg = encoded(halves(64, 48), "jpg");
    // 6: stored turned a quarter anticlockwise; shown turned clockwise, the red left half on top.
    const QImage six = decoded(withOrientation(jpeg, 6), 0).image;
    ASSERT_EQ(six.size(), QSize(48, 64));
    EXPECT_TRUE(isRed(six.pixel(24, 2)));
    EXPECT_TRUE(isBlue(six.pixel(24, 61)));
    EXPECT_EQ(decoded(withOrientation(jpeg, 6), 3).image.size(), QSize(6, 8));
    // 8: the other way, red at the bottom; 2: mirrored, red on the right; 3: half round.
    const QImage eight = decoded(withOrientation(jpeg, 8), 0).image;
    EXPECT_TRUE(isRed(eight.pixel(24, 61)));
    const QImage two = decoded(withOrientation(jpeg, 2), 0).image;
    EXPECT_EQ(two.size(), QSize(64, 48));
    EXPECT_TRUE(isRed(two.pixel(62, 24)));
    EXPECT_TRUE(isRed(decoded(withOrientation(jpeg, 3), 0).image.pixel(62, 24)));
    // 5 (transposed): red on top, as 6, but unmirrored along the other axis.
    const QImage five = decoded(withOrientation(jpeg, 5), 0).image;
    EXPECT_EQ(five.size(), QSize(48, 64));
    EXPECT_TRUE(isRed(five.pixel(24, 2)));
}

TEST(PictureFile, ExifBlocksThatLieAreReadAsUpright)
{
    const QByteArray good = withOrientation(QByteArray("\xFF\xD8", 2), 6).mid(6);
    EXPECT_EQ(ExifOrientation(good), 6);
    QByteArray farOffset = good;
    farOffset[13] = '\x7f'; // the first directory far past the end
    QByteArray manyEntries = good;
    manyEntries[14] = '\xff'; // more entries than bytes
    manyEntries[15] = '\xff';
    manyEntries[16] = '\0';
    QByteArray outOfRange = good;
    outOfRange[25] = 9;
    for (const QByteArray& exif : {farOffset, manyEntries, outOfRange, good.left(20), QByteArray("Exif")})
        EXPECT_EQ(ExifOrientation(exif), 1);
}

TEST(PictureFile, HostileAndDamagedFilesFailClearlyAndAtOnce)
{
    const QByteArray jpeg = encoded(halves(64, 48), "jpg");
    // The frame header (SOF0) claims 60000 x 60000 pixels, or 65535 x 65535 (which the
    // library refuses itself).
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    QByteArray huge = jpeg;
    huge.replace(sof + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    QElapsedTimer timer;
    timer.start();
    ViewerStatus status;
    decoded(huge, 0, &status);
    EXPECT_FALSE(status.ok());
    EXPECT_TRUE(status.errorString().contains(QLatin1String("too large"))) << status.errorString().toStdString();
    huge.replace(sof + 5, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
    decoded(huge, 0, &status);
    EXPECT_FALSE(status.ok());
    EXPECT_LT(timer.elapsed(), 2000);

    const QByteArray cases[] = {jpeg.left(30), QByteArray("GIF89a"), QByteArray("BM\1\2\3"), QByteArray("plain text"), QByteArray()};
    for (const QByteArray& bytes : cases) {
        decoded(bytes, 0, &status);
        EXPECT_FALSE(status.ok()) << bytes.toHex().toStdString();
        EXPECT_FALSE(status.errorString().isEmpty());
    }
    // A JPEG cut off after its header shows the part that arrived.
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scan, 0);
    EXPECT_EQ(decoded(jpeg.left(scan + (jpeg.size() - scan) / 2), 0).image.size(), QSize(64, 48));
}

TEST(PictureFile, OtherFormatsAreKnownByTheirBytes)
{
    const QImage source = halves(20, 10);
    struct Case {
        QByteArray bytes;
        PictureKind kind;
    };
    QByteArray tiff;
    QBuffer tiffBuffer(&tiff);
    tiffBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteTiffStream(tiffBuffer, source).ok());
    const Case cases[] = {{encoded(source, "bmp"), PictureKind::Bitmap},
                          {encoded(source.scaled(16, 16), "ico"), PictureKind::Icon},
                          {tiff, PictureKind::Tiff}};
    for (const Case& c : cases) {
        const LoadedPicture picture = decoded(c.bytes, 3);
        EXPECT_EQ(picture.kind, c.kind);
        EXPECT_EQ(picture.image.width(), c.kind == PictureKind::Icon ? 16 : 20) << "the scale applies to JPEG only";
        EXPECT_TRUE(picture.animation.isEmpty());
    }
}

TEST(PictureFile, AnimatedGifKeepsItsBytesForPlaying)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick's convert makes the GIF fixtures";
    QTemporaryDir dir;
    const QString animated = dir.filePath(QStringLiteral("a.gif"));
    const QString still = dir.filePath(QStringLiteral("s.gif"));
    ASSERT_EQ(QProcess::execute(convert, {"-size", "6x4", "xc:red", "xc:blue", "-loop", "0", animated}), 0);
    ASSERT_EQ(QProcess::execute(convert, {"-size", "6x4", "xc:red", still}), 0);
    LoadedPicture picture;
    ASSERT_TRUE(PictureFile::load(animated, 0, picture).ok());
    EXPECT_EQ(picture.kind, PictureKind::Gif);
    EXPECT_EQ(picture.image.size(), QSize(6, 4));
    EXPECT_FALSE(picture.animation.isEmpty());
    LoadedPicture stillPicture;
    ASSERT_TRUE(PictureFile::load(still, 0, stillPicture).ok());
    EXPECT_TRUE(stillPicture.animation.isEmpty());
}

TEST(PictureFile, OnlyRegularFilesAreRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    LoadedPicture picture;
    ViewerStatus status = PictureFile::load(fifo, 0, picture);
    EXPECT_FALSE(status.ok());
    EXPECT_TRUE(status.errorString().contains(QLatin1String("not a regular file")));
    status = PictureFile::load(dir.filePath(QStringLiteral("missing.jpg")), 0, picture);
    EXPECT_FALSE(status.ok());
    EXPECT_TRUE(status.errorString().contains(QLatin1String("missing.jpg")));
    status = PictureFile::load(dir.path(), 0, picture);
    EXPECT_FALSE(status.ok());
}

// A JPEG file is decoded as it is read, in chunks; it must give the very pixels of the same
// bytes decoded in memory: a file of many chunks, a marker skipped across a chunk's end, an
// Exif orientation, a file cut off in its scan and one cut off in its header.
TEST(PictureFile, JpegReadFromAFileMatchesTheSameBytesInMemory)
{
    QImage grain(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < grain.height(); ++y)
        for (int x = 0; x < grain.width(); ++x)
            grain.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    const QByteArray jpeg = encoded(grain, "jpg");
    ASSERT_GT(jpeg.size(), 3 * 64 * 1024) << "the picture must span several chunks";
    // Segments the decoder skips: APP3 with 2000 bytes, then APP2 with 65000 running over
    // the end of the first chunk (64 KiB).
    const QByteArray padded = jpeg.left(2) + QByteArray("\xFF\xE3\x07\xD2", 4) + QByteArray(2000, 'q')
        + QByteArray("\xFF\xE2\xFD\xEA", 4) + QByteArray(65000, 'p') + jpeg.mid(2);
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scan, 0);
    struct Case {
        const char* name;
        QByteArray bytes;
        int scaleIndex;
        bool shown;
    };
    // A progressive file keeps all its coefficients while it is read: megabytes at this size,
    // taken as large blocks through the decoder's memory layer.
    QByteArray progressive;
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (!cjpeg.isEmpty()) {
        QProcess process;
        process.start(cjpeg, {"-progressive", "-quality", "90"});
        process.write(encoded(halves(2048, 1536), "ppm"));
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(60000));
        progressive = process.readAllStandardOutput();
        ASSERT_GT(progressive.size(), 1000);
    }
    const Case cases[] = {{"whole", jpeg, 0, true},
                          {"progressive", progressive.isEmpty() ? jpeg : progressive, 0, true},
                          {"whole at 1:8", jpeg, 3, true},
                          {"big markers skipped", padded, 1, true},
                          {"turned by Exif", withOrientation(jpeg, 6), 2, true},
                          {"cut off in the scan", jpeg.left(scan + (jpeg.size() - scan) / 3), 0, true},
                          {"cut off in the header", jpeg.left(30), 0, false}};
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        LoadedPicture fromFile;
        const ViewerStatus status = PictureFile::load(path, c.scaleIndex, fromFile);
        ViewerStatus memoryStatus;
        const LoadedPicture inMemory = decoded(c.bytes, c.scaleIndex, &memoryStatus);
        EXPECT_EQ(status.ok(), c.shown) << c.name << ": " << status.errorString().toStdString();
        EXPECT_EQ(memoryStatus.ok(), c.shown) << c.name;
        EXPECT_EQ(status.errorString(), memoryStatus.errorString()) << c.name;
        EXPECT_EQ(fromFile.kind, PictureKind::Jpeg) << c.name;
        EXPECT_EQ(fromFile.image, inMemory.image) << c.name;
    }
    if (!progressive.isEmpty()) {
        LoadedPicture picture;
        ASSERT_TRUE(PictureFile::decode(progressive, QStringLiteral("p"), 0, picture).ok());
        ASSERT_EQ(picture.image.size(), QSize(2048, 1536));
        EXPECT_TRUE(isRed(picture.image.pixel(10, 1500)));
        EXPECT_TRUE(isBlue(picture.image.pixel(2040, 10)));
    }
}

// A CMYK JPEG (stored inverted with an Adobe marker, as ImageMagick and most writers do)
// shows in its colours.
TEST(PictureFile, CmykJpegShowsItsColours)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick's convert makes the CMYK fixture";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cmyk.jpg"));
    ASSERT_EQ(QProcess::execute(convert, {"-size", "16x16", "xc:red", "xc:blue", "+append", "-colorspace", "CMYK", "-quality", "95", path}), 0);
    LoadedPicture picture;
    ASSERT_TRUE(PictureFile::load(path, 0, picture).ok());
    ASSERT_EQ(picture.image.size(), QSize(32, 16));
    EXPECT_TRUE(isRed(picture.image.pixel(4, 8))) << std::hex << picture.image.pixel(4, 8);
    EXPECT_TRUE(isBlue(picture.image.pixel(28, 8))) << std::hex << picture.image.pixel(28, 8);
}
