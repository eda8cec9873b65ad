// The graphics conversions as the window runs them: the selection's files and every file
// below a selected folder through the batch loop, "ERROR on" for the other files and for a
// damaged picture while the batch goes on, and each of the ten conversions checked by
// reading its output back (identical where the format is lossless, close where it is not).
#include "support/TempHome.h"

#include "fileops/BatchLoop.h"
#include "fileops/WorkList.h"
#include "viewers/image/GifEncoder.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/PictureSamples.h"
#include "viewers/tiff/Bmp2Tiff.h"
#include "viewers/ui/ConversionBranch.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

QImage drawing()
{
    return twoRectangles(40, 30);
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt writes no GIF; ours is checked against ImageMagick on its own.
    if (QByteArray(format) == "tif")
        EXPECT_TRUE(WriteTiffStream(buffer, image).ok());
    else if (QByteArray(format) == "gif")
        EXPECT_TRUE(GifEncoder::encode(image, bytes).ok());
    else
        EXPECT_TRUE(image.save(&buffer, format, 95));
    return bytes;
}

QImage loaded(const QString& path)
{
    LoadedPicture picture;
    const ViewerStatus status = PictureFile::load(path, 0, picture);
    EXPECT_TRUE(status.ok()) << path.toStdString() << ": " << status.errorString().toStdString();
    return picture.image.convertToFormat(QImage::Format_RGB32);
}

class ConversionBatchTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ConversionBranch::registerBranches();
        m_target = makeFolder(QStringLiteral("out"));
        m_options.target = m_target + QLatin1Char('/');
    }

    BatchLabels run(OperationCode code, const QStringList& work)
    {
        BatchLoop loop(code, work, m_options);
        loop.run();
        m_end = loop.end();
        return loop.labels();
    }

    QString m_target;
    ConfirmResults m_options;
    BatchEnd m_end = BatchEnd::Failed;
};

} // namespace

TEST_F(ConversionBatchTest, AFolderIsConvertedWithErrorOnForEveryOtherFile)
{
    const QString photos = makeFolder(QStringLiteral("photos"));
    makeFile(QStringLiteral("photos/a.bmp"), encoded(drawing(), "bmp"));
    makeFile(QStringLiteral("photos/deep/b.BMP"), encoded(drawing(), "bmp"));
    makeFile(QStringLiteral("photos/deep/broken.bmp"), "BM but no picture");
    makeFile(QStringLiteral("photos/deep/c.bmp"), encoded(drawing(), "bmp"));
    makeFile(QStringLiteral("photos/notes.txt"), "text");
    const QString single = makeFile(QStringLiteral("single.jpg"), encoded(drawing(), "jpg"));
    const QList<ListEntry> selection{{photos, QStringLiteral("photos"), QString(), QStringLiteral("dir"), true, false},
                                     {single, QStringLiteral("single.jpg"), QString(), QStringLiteral("file"), true, false}};
    WorkListJob collect(selection, false);
    collect.run();
    ASSERT_EQ(collect.files().size(), 6);

    const BatchLabels labels = run(opBmpToGif, collect.files());
    EXPECT_EQ(m_end, BatchEnd::Done) << "a damaged picture does not end the batch";
    EXPECT_EQ(ConversionBranch::written(), 3);
    const QStringList messages = ConversionBranch::messages();
    ASSERT_EQ(messages.size(), 3) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(messages.contains(QStringLiteral("ERROR on notes.txt")));
    EXPECT_TRUE(messages.contains(QStringLiteral("ERROR on single.jpg")));
    EXPECT_EQ(messages.filter(QStringLiteral("ERROR on broken.bmp: ")).size(), 1);
    EXPECT_TRUE(labels.itemText.startsWith(QStringLiteral("ERROR on "))) << labels.itemText.toStdString();
    EXPECT_EQ(labels.action, QStringLiteral("BMP to GIF"));
    for (const char* name : {"a.gif", "b.gif", "c.gif"})
        EXPECT_EQ(loaded(m_target + QLatin1Char('/') + QLatin1String(name)), drawing()) << name;
    EXPECT_EQ(QDir(m_target).entryList(QDir::Files | QDir::Hidden).size(), 3) << "nothing else, no temporary file";
}

TEST_F(ConversionBatchTest, EachOfTheTenConversionsWritesItsKind)
{
    struct Case {
        OperationCode code;
        const char* source;
        const char* format;
        const char* output;
        double tolerance; // mean channel difference allowed; 0: every pixel kept
    };
    const Case cases[] = {
        {opBmpToJpg, "p.bmp", "bmp", "p.jpg", 8},
        {opBmpToGif, "p.bmp", "bmp", "p.gif", 0},
        {opBmpToWmf, "p.bmp", "bmp", "p.wmf", 0},
        {opBmpToTif, "p.bmp", "bmp", "p.tif", 0},
        {opJpgToBmp, "p.jpg", "jpg", "p.bmp", 8},
        {opJpgToGif, "p.jpg", "jpg", "p.gif", 8},
        {opWmfToBmp, "p.wmf", nullptr, "p.bmp", 0},
        {opGifToBmp, "p.gif", "gif", "p.bmp", 0},
        {opGifToJpg, "p.gif", "gif", "p.jpg", 8},
        {opTifToBmp, "p.tif", "tif", "p.bmp", 0},
    };
    // The WMF source is the one BMP to WMF wrote.
    for (const Case& c : cases) {
        const QString folder = makeFolder(QStringLiteral("in%1").arg(int(c.code)));
        QString source = folder + QLatin1Char('/') + QLatin1String(c.source);
        if (c.format)
            makeFile(QStringLiteral("in%1/").arg(int(c.code)) + QLatin1String(c.source), encoded(drawing(), c.format));
        else
            ASSERT_TRUE(QFile::copy(m_target + QStringLiteral("/p.wmf"), source));
        const QString output = m_target + QLatin1Char('/') + QLatin1String(c.output);
        QFile::remove(output);
        run(c.code, {source});
        EXPECT_EQ(m_end, BatchEnd::Done) << c.output;
        ASSERT_EQ(ConversionBranch::written(), 1) << c.output << ConversionBranch::messages().join(QLatin1Char('|')).toStdString();
        const QImage back = loaded(output);
        ASSERT_EQ(back.size(), drawing().size()) << c.output;
        if (c.tolerance == 0)
            EXPECT_EQ(back, drawing()) << c.output;
        else
            EXPECT_LE(meanChannelDifference(back, drawing()), c.tolerance) << c.output;
    }
}

// Our JPEG and ImageMagick's of the same bitmap at the same quality (75, the library's
// default) differ by rounding only: no pixel is 10 % apart.
TEST_F(ConversionBatchTest, JpegOutputMatchesImageMagicks)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    const QString compare = QStandardPaths::findExecutable(QStringLiteral("compare"));
    if (convert.isEmpty() || compare.isEmpty())
        GTEST_SKIP() << "ImageMagick is not installed";
    QImage photo(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 3 + y) % 256, (y * 2) % 256, (x * y / 40) % 256));
    const QString source = makeFile(QStringLiteral("photo.bmp"), encoded(photo, "bmp"));
    run(opBmpToJpg, {source});
    ASSERT_EQ(ConversionBranch::written(), 1);
    const QString theirs = m_target + QStringLiteral("/theirs.jpg");
    ASSERT_EQ(QProcess::execute(convert, {source, QStringLiteral("-quality"), QStringLiteral("75"), theirs}), 0);
    QProcess process;
    process.start(compare, {QStringLiteral("-metric"), QStringLiteral("AE"), QStringLiteral("-fuzz"), QStringLiteral("10%"),
                            m_target + QStringLiteral("/photo.jpg"), theirs, QStringLiteral("null:")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.readAllStandardError().trimmed(), QByteArray("0"));
}
