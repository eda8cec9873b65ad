// WMF and EMF files drawn by our record players: files built here record by record, the
// WMF our conversion writes (read back by us and by ImageMagick), and damaged or hostile
// files that must end in a picture or a clear error, never a crash or a huge allocation.
#include "viewers/image/MetafileRenderer.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/WmfWriter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

void put16(QByteArray& out, int value)
{
    char bytes[2];
    qToLittleEndian<quint16>(quint16(value), bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, qint64 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(quint32(value), bytes);
    out.append(bytes, 4);
}

// A placeable WMF of the given bounds and units per inch, from its records' function and
// 16-bit parameters.
struct WmfBuilder {
    QByteArray records;
    void add(int function, std::initializer_list<int> words)
    {
        put32(records, 3 + qint64(words.size()));
        put16(records, function);
        for (int word : words)
            put16(records, word);
    }
    QByteArray file(int right, int bottom, int inch) const
    {
        QByteArray out;
        const int header[] = {0xCDD7, 0x9AC6, 0, 0, 0, right, bottom, inch, 0, 0};
        int checksum = 0;
        for (int word : header) {
            put16(out, word);
            checksum ^= word;
        }
        put16(out, checksum);
        for (int word : {1, 9, 0x300})
            put16(out, word);
        put32(out, 9 + records.size() / 2 + 3);
        put16(out, 4);
        put32(out, 64);
        put16(out, 0);
        out += records;
        put32(out, 3);
        put16(out, 0);
        return out;
    }
};

// An EMF: the header with the frame in hundredths of a millimetre over a reference device
// of 96 dots per inch, then records of 32-bit parameters.
struct EmfBuilder {
    QByteArray records;
    int count = 0;
    void add(int type, std::initializer_list<qint64> values)
    {
        put32(records, type);
        put32(records, 8 + qint64(values.size()) * 4);
        for (qint64 value : values)
            put32(records, value);
        ++count;
    }
    QByteArray file(int frameRight, int frameBottom) const
    {
        QByteArray out;
        put32(out, 1);
        put32(out, 88);
        for (qint64 value : {0, 0, 100, 100, 0, 0, frameRight, frameBottom})
            put32(out, value);
        put32(out, 0x464D4520);
        put32(out, 0x10000);
        put32(out, 88 + records.size() + 20);
        put32(out, count + 2);
        put16(out, 8);
        put16(out, 0);
        for (qint64 value : {0, 0, 0, 1920, 1080, 508, 286})
            put32(out, value);
        out += records;
        for (qint64 value : {14, 20, 0, 16, 20})
            put32(out, value);
        return out;
    }
};

QImage rendered(const QByteArray& bytes)
{
    LoadedPicture picture;
    const ViewerStatus status = PictureFile::decode(bytes, QStringLiteral("test"), 0, picture);
    EXPECT_TRUE(status.ok()) << status.errorString().toStdString();
    EXPECT_EQ(picture.kind, PictureKind::Metafile);
    return picture.image;
}

bool near(QRgb pixel, QColor colour)
{
    return std::abs(qRed(pixel) - colour.red()) < 8 && std::abs(qGreen(pixel) - colour.green()) < 8 && std::abs(qBlue(pixel) - colour.blue()) < 8;
}

} // namespace

// A drawing in twips (1440 to the inch) with its window moved: a red rectangle with a null
// pen, a blue ellipse, a green triangle through POLYGON and a black line.
TEST(Metafile, WmfShapesAreDrawnThroughTheWindowMapping)
{
    WmfBuilder wmf;
    wmf.add(0x020B, {100, 100});       // window origin (100, 100)
    wmf.add(0x020C, {1440, 1440});     // window extent one inch
    wmf.add(0x02FC, {0, 0x00FF, 0, 0}); // solid red brush (0x000000FF)
    wmf.add(0x02FA, {5, 0, 0, 0, 0});   // null pen
    wmf.add(0x012D, {0});
    wmf.add(0x012D, {1});
    wmf.add(0x041B, {100 + 720, 100 + 720, 100, 100}); // rectangle: the top-left quarter
    wmf.add(0x01F0, {0});
    wmf.add(0x02FC, {0, 0, 0x00FF, 0});  // blue brush (0x00FF0000), takes free slot 0
    wmf.add(0x012D, {0});
    wmf.add(0x0418, {100 + 1440, 100 + 1440, 100 + 720, 100 + 720}); // ellipse: bottom-right quarter
    wmf.add(0x02FC, {0, 0xFF00, 0, 0});  // green brush
    wmf.add(0x012D, {2});
    wmf.add(0x0324, {3, 100 + 720, 100 + 1440, 100 + 1440, 100 + 720, 100 + 1440, 100 + 1440});
    const QImage image = rendered(wmf.file(1440, 1440, 1440));
    ASSERT_EQ(image.size(), QSize(96, 96));
    EXPECT_TRUE(near(image.pixel(20, 20), Qt::red));
    EXPECT_TRUE(near(image.pixel(60, 60), Qt::blue));
    EXPECT_TRUE(near(image.pixel(90, 90), Qt::green));
    EXPECT_TRUE(near(image.pixel(90, 20), Qt::white));
    EXPECT_TRUE(near(image.pixel(20, 60), Qt::white));
}

TEST(Metafile, EmfShapesPathsAndTransformsAreDrawn)
{
    EmfBuilder emf;
    emf.add(39, {1, 0, 0x0000FF, 0});                     // brush 1: red
    emf.add(37, {1});
    emf.add(37, {0x80000008});                            // NULL_PEN
    emf.add(43, {0, 0, 50, 50});                          // rectangle, device pixels
    emf.add(17, {8});                                     // MM_ANISOTROPIC
    emf.add(9, {10, 10});                                 // window extent 10 x 10
    emf.add(11, {100, 100});                              // viewport extent 100 x 100
    emf.add(39, {2, 0, 0xFF0000, 0});                     // brush 2: blue
    emf.add(37, {2});
    emf.add(59, {});                                      // a path: the lower-right square
    emf.add(27, {5, 5});
    emf.add(54, {10, 5});
    emf.add(54, {10, 10});
    emf.add(54, {5, 10});
    emf.add(61, {});
    emf.add(60, {});
    emf.add(62, {0, 0, 100, 100});
    // 100 x 100 device pixels at 96 dpi: the frame is 2646 hundredths of a millimetre.
    const QImage image = rendered(emf.file(2646, 2646));
    ASSERT_EQ(image.size(), QSize(100, 100));
    EXPECT_TRUE(near(image.pixel(25, 25), Qt::red));
    EXPECT_TRUE(near(image.pixel(75, 75), Qt::blue));
    EXPECT_TRUE(near(image.pixel(75, 25), Qt::white));
}

// A square of the logical window drawn in MM_ISOTROPIC into a frame twice as wide as high
// keeps its shape: it fills the left half, and the right half stays white.
TEST(Metafile, IsotropicMappingKeepsSquaresSquareInBothFormats)
{
    WmfBuilder wmf;
    wmf.add(0x0103, {7});               // MM_ISOTROPIC
    wmf.add(0x020C, {100, 100});        // window extent 100 x 100
    wmf.add(0x02FC, {0, 0x00FF, 0, 0}); // red brush
    wmf.add(0x02FA, {5, 0, 0, 0, 0});   // null pen
    wmf.add(0x012D, {0});
    wmf.add(0x012D, {1});
    wmf.add(0x041B, {100, 100, 0, 0});
    EmfBuilder emf;
    emf.add(17, {7});                   // MM_ISOTROPIC
    emf.add(9, {10, 10});               // window extent 10 x 10
    emf.add(11, {200, -100});           // viewport extent 200 x 100, y upwards
    emf.add(12, {0, 100});              // viewport origin at the bottom edge
    emf.add(39, {1, 0, 0x0000FF, 0});
    emf.add(37, {1});
    emf.add(37, {0x80000008});          // NULL_PEN
    emf.add(43, {0, 0, 10, 10});
    // 2 x 1 inches: 192 x 96 pixels at 96 dpi, 5080 x 2540 hundredths of a millimetre.
    for (const QImage& image : {rendered(wmf.file(2880, 1440, 1440)), rendered(emf.file(5080, 2540))}) {
        ASSERT_EQ(image.height(), 96);
        EXPECT_NEAR(image.width(), 192, 1);
        EXPECT_TRUE(near(image.pixel(10, 48), Qt::red));
        EXPECT_TRUE(near(image.pixel(85, 10), Qt::red));
        EXPECT_TRUE(near(image.pixel(110, 48), Qt::white));
        EXPECT_TRUE(near(image.pixel(180, 85), Qt::white));
    }
}

TEST(Metafile, OurWmfRoundTripsAndOtherProgramsReadIt)
{
    QImage source(37, 21, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x * 7, y * 12, (x * y) % 256));
    QByteArray wmf;
    ASSERT_TRUE(WmfWriter::write(source, wmf).ok());
    EXPECT_EQ(rendered(wmf).convertToFormat(QImage::Format_RGB32), source);

    const QString compare = QStandardPaths::findExecutable(QStringLiteral("compare"));
    if (compare.isEmpty())
        GTEST_SKIP() << "ImageMagick is not installed";
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("p.wmf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wmf);
    file.close();
    const QString png = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(source.save(png));
    QProcess process;
    process.start(compare, {QStringLiteral("-density"), QStringLiteral("96"), QStringLiteral("-metric"), QStringLiteral("AE"), file.fileName(), png, QStringLiteral("null:")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.readAllStandardError().trimmed(), QByteArray("0")) << "ImageMagick draws our metafile as written";
}

TEST(Metafile, DamagedAndHostileFilesEndCleanly)
{
    WmfBuilder shapes;
    shapes.add(0x02FC, {0, 0x00FF, 0, 0});
    shapes.add(0x012D, {0});
    shapes.add(0x041B, {50, 50, 0, 0});
    const QByteArray good = shapes.file(100, 100, 96);

    WmfBuilder lies;
    lies.add(0x0324, {30000});             // 30000 points that are not there
    lies.add(0x0538, {65535, 1, 2});       // polygon counts beyond the record
    lies.add(0x012D, {65535});             // an object never made
    lies.add(0x01F0, {40000});
    lies.add(0x0127, {-30000});            // restoring states never saved
    lies.add(0x0A32, {0, 0, 32000, 6, 1}); // text longer than its record
    lies.add(0x0F43, {0x20, 0xCC, 0, 1000, 1000, 0, 0, 100, 100, 0, 0, 40, 0, 30000, 0, 30000, 0}); // DIB header only
    QByteArray longRecord = shapes.file(100, 100, 96);
    qToLittleEndian<quint32>(0x7FFFFFFF, longRecord.data() + 40); // first record runs past the end

    EmfBuilder emfLies;
    emfLies.add(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 5000, 0x7FFFFFF0, 0, 0, 0, 0, 0, 0x7FFFFFF0}); // text offsets outside
    emfLies.add(81, {0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 0x7FFFFFF0, 40, 0x10, 0x7FFFFFF0, 0, 0xCC0020, 10, 10});
    emfLies.add(38, {0x7FFFFFFF, 0, 1, 1, 0});         // a pen at an index far beyond the table
    emfLies.add(8, {0, 0, 0, 0, 0x40000000, 0x40000000, 3}); // polygon counts beyond the record

    struct Case {
        const char* name;
        QByteArray bytes;
        bool opens;
    };
    const Case cases[] = {
        {"records that lie about their parameters", lies.file(100, 100, 96), true},
        {"a record longer than the file", longRecord, true},
        {"cut inside the records", good.left(good.size() - 10), true},
        {"cut inside the header", good.left(30), false},
        {"a picture of 32767 inches square", shapes.file(32767, 32767, 1), false},
        {"no size", shapes.file(0, 0, 96), false},
        {"EMF records that lie", emfLies.file(2646, 2646), true},
        {"EMF frame of a kilometre", emfLies.file(100000000, 100000000), false},
        {"EMF with an empty frame and bounds", emfLies.file(0, 0).replace(8, 16, QByteArray(16, '\0')), true},
    };
    for (const Case& c : cases) {
        QElapsedTimer timer;
        timer.start();
        QImage image;
        const ViewerStatus status = MetafileRenderer::render(c.bytes, image);
        EXPECT_EQ(status.ok(), c.opens) << c.name << ": " << status.errorString().toStdString();
        EXPECT_TRUE(status.ok() ? !image.isNull() : !status.errorString().isEmpty()) << c.name;
        EXPECT_LT(timer.elapsed(), 3000) << c.name;
    }
}
