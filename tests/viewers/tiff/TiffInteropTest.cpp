// Checks against libtiff and ImageMagick, a reader and writer no one here wrote: files they
// make decode to the pixels ImageMagick decodes, and files the writer makes pass libtiff's
// checks and convert back to the pixels they were written from. The fixtures are made here
// from a generated picture; the tools come from scripts/packages/tiff.txt.
#include "support/TempHome.h"
#include "viewers/tiff/Bmp2Tiff.h"
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

namespace {

QString tool(const QString& name)
{
    // The real ImageMagick sits in /usr/bin; prefer it to any wrapper earlier on the path.
    const QString system = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/bin")});
    return system.isEmpty() ? QStandardPaths::findExecutable(name) : system;
}

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun run(const QString& program, const QStringList& args, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(tool(program), args);
    ToolRun result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// A 37 x 23 picture with gradients, edges and a few pure colours; the odd width makes
// every kind's rows end in a partial byte or need padding.
QImage sourcePicture(int variant = 0)
{
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int r = (x * 7 + variant * 50) % 256;
            const int g = (y * 11) % 256;
            const int b = ((x ^ y) * 9 + variant * 90) % 256;
            image.setPixel(x, y, (x + y) % 9 == 0 ? qRgb(255, 255, 255) : qRgb(r, g, b));
        }
    }
    return image;
}

// Pseudo-random pixels: LZW strips of it fill the code table several times over.
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            image.setPixel(x, y, qRgb(int(state >> 24), int(state >> 16) & 0xF0, x % 256));
        }
    }
    return image;
}

QByteArray rgbBytes(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    for (int y = 0; y < rgb.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    return bytes;
}

class TiffInteropTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        for (const char* name : {"convert", "tiffinfo", "tiffcp", "ppm2tiff", "tiffmedian", "tiffdither", "tiff2bw"})
            ASSERT_FALSE(tool(QString::fromLatin1(name)).isEmpty()) << name << " is missing: run scripts/install-deps.sh";
        m_dir = makeFolder(QStringLiteral("work"));
        const QImage source = sourcePicture();
        ASSERT_TRUE(source.save(m_dir + QStringLiteral("/src.png")));
        ASSERT_TRUE(sourcePicture(1).save(m_dir + QStringLiteral("/src2.png")));
        ASSERT_TRUE(noise(240, 160).save(m_dir + QStringLiteral("/noise.png")));
        ASSERT_TRUE(source.save(m_dir + QStringLiteral("/src.ppm"), "PPM"));
        ASSERT_TRUE(source.convertToFormat(QImage::Format_Grayscale8).save(m_dir + QStringLiteral("/src.pgm"), "PGM"));
        ASSERT_TRUE(source.convertToFormat(QImage::Format_Mono).save(m_dir + QStringLiteral("/src.pbm"), "PBM"));
    }

    // Runs one step of a fixture's recipe in the work folder; a failed step fails the test.
    void step(const QString& program, const QStringList& args)
    {
        const ToolRun r = run(program, args, m_dir);
        ASSERT_EQ(r.exitCode, 0) << program.toStdString() << " " << args.join(QLatin1Char(' ')).toStdString() << ": "
                                 << r.err.toStdString();
    }

    // ImageMagick's decoding of one page as 8-bit red, green, blue bytes.
    QByteArray imageMagickPixels(const QString& file, int page)
    {
        const ToolRun r = run(QStringLiteral("convert"),
                          {file + QStringLiteral("[%1]").arg(page), QStringLiteral("-depth"), QStringLiteral("8"),
                           QStringLiteral("rgb:-")},
                          m_dir);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out;
    }

    QString path(const QString& name) const { return m_dir + QLatin1Char('/') + name; }

    QString m_dir;
};

struct Recipe {
    const char* name;
    std::vector<std::pair<const char*, QStringList>> steps; // the last one writes f.tif
};

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

std::vector<Recipe> recipes()
{
    const std::pair<const char*, QStringList> rgb{"convert", words("src.png -depth 8 -compress None rgb.tif")};
    const std::pair<const char*, QStringList> gray{"convert", words("src.png -colorspace gray -depth 8 -compress None gray.tif")};
    return {
        {"ImageMagick RGB, II", {{"convert", words("src.png -depth 8 -compress None f.tif")}}},
        {"ImageMagick RGB, MM", {{"convert", words("src.png -depth 8 -compress None -define tiff:endian=msb f.tif")}}},
        {"ImageMagick RGB with alpha", {{"convert", words("src.png -alpha set -depth 8 -compress None f.tif")}}},
        {"ImageMagick bilevel", {{"convert", words("src.png -monochrome -depth 1 -compress None f.tif")}}},
        {"ImageMagick gray 8 bits", {{"convert", words("src.png -colorspace gray -depth 8 -compress None f.tif")}}},
        {"ImageMagick gray 4 bits", {{"convert", words("src.png -colorspace gray -depth 4 -compress None f.tif")}}},
        {"ImageMagick palette 8 bits", {{"convert", words("src.png -depth 8 -colors 50 -type Palette -compress None f.tif")}}},
        {"ImageMagick palette 4 bits", {{"convert", words("src.png -depth 4 -colors 12 -type Palette -compress None f.tif")}}},
        {"ImageMagick two pages", {{"convert", words("src.png src2.png -depth 8 -compress None f.tif")}}},
        {"ImageMagick strips of 5 rows", {{"convert", words("src.png -depth 8 -compress None -define tiff:rows-per-strip=5 f.tif")}}},
        {"ImageMagick LZW", {{"convert", words("src.png -depth 8 -compress LZW f.tif")}}},
        {"ImageMagick LZW with predictor", {{"convert", words("src.png -depth 8 -compress LZW -define tiff:predictor=2 f.tif")}}},
        {"ImageMagick Deflate", {{"convert", words("src.png -depth 8 -compress Zip f.tif")}}},
        {"ImageMagick LZW, code table filled", {{"convert", words("noise.png -depth 8 -compress LZW f.tif")}}},
        {"ImageMagick PackBits", {{"convert", words("src.png -depth 8 -compress RLE f.tif")}}},
        {"ppm2tiff RGB", {{"ppm2tiff", words("-c none src.ppm f.tif")}}},
        {"ppm2tiff gray", {{"ppm2tiff", words("-c none src.pgm f.tif")}}},
        {"ppm2tiff bilevel (white is zero)", {{"ppm2tiff", words("-c none src.pbm f.tif")}}},
        {"ppm2tiff PackBits", {{"ppm2tiff", words("src.ppm f.tif")}}},
        {"tiffcp RGB to MM", {rgb, {"tiffcp", words("-B -c none rgb.tif f.tif")}}},
        {"tiffcp bilevel to MM", {{"ppm2tiff", words("-c none src.pbm b.tif")}, {"tiffcp", words("-B b.tif f.tif")}}},
        {"tiffcp LZW with predictor, strips of 4", {rgb, {"tiffcp", words("-c lzw:2 -r 4 rgb.tif f.tif")}}},
        {"tiffcp Deflate", {rgb, {"tiffcp", words("-c zip -r 7 rgb.tif f.tif")}}},
        {"tiffcp PackBits gray", {gray, {"tiffcp", words("-c packbits gray.tif f.tif")}}},
        {"tiffcp two pages, MM", {rgb, gray, {"tiffcp", words("-B rgb.tif gray.tif f.tif")}}},
        {"tiffmedian palette", {rgb, {"tiffmedian", words("-c none rgb.tif f.tif")}}},
        {"tiffdither bilevel", {gray, {"tiffdither", words("-c none gray.tif f.tif")}}},
        {"tiff2bw gray", {rgb, {"tiff2bw", words("-c none rgb.tif f.tif")}}},
    };
}

TEST_F(TiffInteropTest, FilesOfOtherWritersDecodeAsImageMagickDecodesThem)
{
    for (const Recipe& recipe : recipes()) {
        SCOPED_TRACE(recipe.name);
        QFile::remove(path(QStringLiteral("f.tif")));
        for (const auto& [program, args] : recipe.steps)
            ASSERT_NO_FATAL_FAILURE(step(QString::fromLatin1(program), args));
        TFileTiff file;
        file.setFileName(path(QStringLiteral("f.tif")));
        ASSERT_GE(file.directoryCount(), 1);
        QImage image;
        ASSERT_TRUE(ReadTiffFile(path(QStringLiteral("f.tif")), image));
        EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(rgbBytes(image) == imageMagickPixels(QStringLiteral("f.tif"), file.directoryCount() - 1));
    }
}

TEST_F(TiffInteropTest, WrittenFilesPassLibtiffAndConvertBackToTheSamePixels)
{
    const QImage source = sourcePicture();
    QImage sixteen = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    sixteen = source.convertToFormat(QImage::Format_Indexed8, sixteen.colorTable().mid(0, 16), Qt::ThresholdDither);
    const std::pair<const char*, QImage> pictures[] = {
        {"1 bit", source.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)},
        {"4 bits", sixteen},
        {"8 bits", source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)},
        {"gray", source.convertToFormat(QImage::Format_Grayscale8)},
        {"24 bits", source.convertToFormat(QImage::Format_RGB888)},
        {"32 bits", source},
    };
    for (const auto& [name, picture] : pictures) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WriteTiffFile(path(QStringLiteral("w.tif")), picture));
        const ToolRun info = run(QStringLiteral("tiffinfo"), words("-D w.tif"), m_dir);
        EXPECT_EQ(info.exitCode, 0);
        EXPECT_TRUE(info.err.isEmpty()) << info.err.toStdString();
        EXPECT_TRUE(imageMagickPixels(QStringLiteral("w.tif"), 0) == rgbBytes(picture));
        ASSERT_NO_FATAL_FAILURE(step(QStringLiteral("tiffcp"), words("-c none w.tif copy.tif")));
        EXPECT_TRUE(imageMagickPixels(QStringLiteral("copy.tif"), 0) == rgbBytes(picture));
    }
}

TEST_F(TiffInteropTest, CommandLineConvertsBothWays)
{
    // Tests are built into <build>/tests and fvtool into <build>/bin.
    QString binDir = qEnvironmentVariable("FOLVANE_BIN_DIR");
    if (binDir.isEmpty())
        binDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    const QString fvtool = binDir + QStringLiteral("/fvtool");
    ASSERT_TRUE(QFile::exists(fvtool)) << "build fvtool first";
    ASSERT_NO_FATAL_FAILURE(step(QStringLiteral("convert"), words("src.png -depth 8 BMP3:src.bmp")));
    ASSERT_NO_FATAL_FAILURE(step(fvtool, words("bmp2tiff src.bmp out.tif")));
    EXPECT_TRUE(imageMagickPixels(QStringLiteral("out.tif"), 0) == rgbBytes(sourcePicture()));
    ASSERT_NO_FATAL_FAILURE(step(fvtool, words("tiff2bmp out.tif back.bmp")));
    EXPECT_TRUE(imageMagickPixels(QStringLiteral("back.bmp"), 0) == rgbBytes(sourcePicture()));

    const ToolRun listing = run(fvtool, words("tiff out.tif"), m_dir);
    EXPECT_EQ(listing.exitCode, 0);
    EXPECT_TRUE(listing.out.contains("0: 37x23 bits 8 samples 3 photometric 2 compression 1 strips 1"));
    const ToolRun refused = run(fvtool, words("tiff2bmp src.png x.bmp"), m_dir);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("is not a valid TIFF file"));
}

} // namespace
