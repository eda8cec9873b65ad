// The writer: the exact file layout for each kind of picture, round trips through the
// reader for every picture format, and a file on disk replaced only when complete.
#include "support/TempHome.h"
#include "viewers/tiff/Bmp2Tiff.h"
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>

namespace {

struct Expected {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value; // the value held in the field, or the offset it holds
};

bool operator==(const Expected& a, const Expected& b)
{
    return a.tag == b.tag && a.type == b.type && a.count == b.count && a.value == b.value;
}

void PrintTo(const Expected& e, std::ostream* os)
{
    *os << "{" << e.tag << ", " << e.type << ", " << e.count << ", " << e.value << "}";
}

QImage indexed(int width, int height, int colours)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table << qRgb(i * 13 % 256, 255 - i, i * 7 % 256);
    image.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x * 3 + y * 5) % colours));
    }
    return image;
}

QImage mono(int width, int height, QRgb zero, QRgb one)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({zero, one});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x + y) % 3 == 0));
    }
    return image;
}

QImage colour(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 90 % 256, (x * y * 17) % 256));
    }
    return image.convertToFormat(format);
}

QByteArray written(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteTiffStream(buffer, image));
    return buffer.data();
}

std::vector<Expected> entriesOf(const TGraphicTiff& dir)
{
    std::vector<Expected> entries;
    for (const tiff::Entry& e : dir.entries()) {
        const uint32_t value = e.type == tiff::Short && e.count == 1 ? qFromLittleEndian<uint16_t>(e.field.data())
                                                                    : qFromLittleEndian<uint32_t>(e.field.data());
        entries.push_back({e.tag, e.type, e.count, value});
    }
    return entries;
}

struct LayoutCase {
    const char* name;
    QImage image;
    uint32_t directory;
    std::vector<Expected> entries;
};

std::vector<LayoutCase> layoutCases()
{
    // File order: 1 bit: data, resolutions, software, directory; 4 and 8 bits: colour map,
    // resolutions, software, data, directory; 24 bits: resolutions, bits per sample,
    // software, data, directory. Values and the directory start on even offsets.
    return {
        {"1 bit, 13 x 3: 14 entries", mono(13, 3, qRgb(0, 0, 0), qRgb(255, 255, 255)), 42,
         {{254, 4, 1, 0}, {256, 3, 1, 13}, {257, 3, 1, 3}, {258, 3, 1, 1}, {259, 3, 1, 1}, {262, 3, 1, 1},
          {273, 4, 1, 8}, {277, 3, 1, 1}, {278, 4, 1, 3}, {279, 4, 1, 6}, {282, 5, 1, 14}, {283, 5, 1, 22},
          {296, 3, 1, 2}, {305, 2, 11, 30}}},
        {"4 bits, 13 x 3: every column kept", indexed(13, 3, 16), 152,
         {{254, 4, 1, 0}, {256, 3, 1, 13}, {257, 3, 1, 3}, {258, 3, 1, 4}, {259, 3, 1, 1}, {262, 3, 1, 3},
          {273, 4, 1, 131}, {277, 3, 1, 1}, {278, 4, 1, 3}, {279, 4, 1, 21}, {282, 5, 1, 104}, {283, 5, 1, 112},
          {296, 3, 1, 2}, {305, 2, 11, 120}, {320, 3, 48, 8}}},
        {"8 bits, 5 x 2", indexed(5, 2, 200), 1582,
         {{254, 4, 1, 0}, {256, 3, 1, 5}, {257, 3, 1, 2}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 3},
          {273, 4, 1, 1571}, {277, 3, 1, 1}, {278, 4, 1, 2}, {279, 4, 1, 10}, {282, 5, 1, 1544}, {283, 5, 1, 1552},
          {296, 3, 1, 2}, {305, 2, 11, 1560}, {320, 3, 768, 8}}},
        {"24 bits, 5 x 2", colour(5, 2, QImage::Format_RGB888), 72,
         {{254, 4, 1, 0}, {256, 3, 1, 5}, {257, 3, 1, 2}, {258, 3, 3, 24}, {259, 3, 1, 1}, {262, 3, 1, 2},
          {273, 4, 1, 41}, {277, 3, 1, 3}, {278, 4, 1, 2}, {279, 4, 1, 30}, {282, 5, 1, 8}, {283, 5, 1, 16},
          {284, 3, 1, 1}, {296, 3, 1, 2}, {305, 2, 11, 30}}},
        {"32 bits: the fourth byte dropped", colour(5, 2, QImage::Format_RGB32), 72,
         {{254, 4, 1, 0}, {256, 3, 1, 5}, {257, 3, 1, 2}, {258, 3, 3, 24}, {259, 3, 1, 1}, {262, 3, 1, 2},
          {273, 4, 1, 41}, {277, 3, 1, 3}, {278, 4, 1, 2}, {279, 4, 1, 30}, {282, 5, 1, 8}, {283, 5, 1, 16},
          {284, 3, 1, 1}, {296, 3, 1, 2}, {305, 2, 11, 30}}},
    };
}

TEST(TiffWriter, WritesTheFixedLayoutOfEachKind)
{
    for (const LayoutCase& c : layoutCases()) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = written(c.image);
        ASSERT_TRUE(bytes.startsWith(QByteArray("II*\0", 4)));
        EXPECT_EQ(qFromLittleEndian<uint32_t>(bytes.constData() + 4), c.directory);
        const auto count = uint32_t(c.entries.size());
        EXPECT_EQ(uint32_t(bytes.size()), c.directory + 2 + 12 * count + 4) << "the directory ends the file";
        TFileTiff file;
        file.setData(bytes, QStringLiteral("w.tif"));
        ASSERT_EQ(file.directoryCount(), 1);
        EXPECT_EQ(entriesOf(*file.directory(0)), c.entries);
        EXPECT_EQ(file.directory(0)->nextOffset(), 0u);
        // The values the entries point at.
        auto at = [&](uint16_t tag) { return std::find_if(c.entries.begin(), c.entries.end(), [tag](auto& e) { return e.tag == tag; })->value; };
        EXPECT_EQ(bytes.mid(at(282), 16).toHex(), QByteArray("6d0300000a0000006d0300000a000000")) << "877/10 twice";
        EXPECT_EQ(bytes.mid(at(305), 11), QByteArray("Pelmo soft\0", 11));
    }
}

TEST(TiffWriter, WritesColourMapsAndBitsPerSampleValues)
{
    const QImage four = indexed(13, 3, 16);
    const QByteArray bytes = written(four);
    // Red of all 16 colours, then green, then blue; each 8-bit colour as c * 257.
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(qFromLittleEndian<uint16_t>(bytes.constData() + 8 + 2 * i), qRed(four.color(i)) * 257);
        EXPECT_EQ(qFromLittleEndian<uint16_t>(bytes.constData() + 40 + 2 * i), qGreen(four.color(i)) * 257);
        EXPECT_EQ(qFromLittleEndian<uint16_t>(bytes.constData() + 72 + 2 * i), qBlue(four.color(i)) * 257);
    }
    const QByteArray rgb = written(colour(5, 2, QImage::Format_RGB888));
    EXPECT_EQ(rgb.mid(24, 6).toHex(), QByteArray("080008000800"));
    // Rows hold only their meaningful bytes, in red-green-blue order.
    EXPECT_EQ(rgb.mid(41, 6).toHex(), QByteArray("000000280000"));
}

std::vector<std::pair<const char*, QImage>> roundTripSources()
{
    return {
        {"1 bit, zero black", mono(21, 5, qRgb(0, 0, 0), qRgb(255, 255, 255))},
        {"1 bit, zero white", mono(21, 5, qRgb(255, 255, 255), qRgb(0, 0, 0))},
        {"1 bit, two colours", mono(21, 5, qRgb(200, 0, 0), qRgb(0, 0, 200))},
        {"1 bit, LSB first", mono(21, 5, qRgb(0, 0, 0), qRgb(255, 255, 255)).convertToFormat(QImage::Format_MonoLSB)},
        {"4 bits, odd width", indexed(13, 4, 16)},
        {"4 bits, 3 colours", indexed(7, 3, 3)},
        {"8 bits", indexed(19, 4, 256)},
        {"gray", colour(9, 4, QImage::Format_Grayscale8)},
        {"RGB888", colour(9, 4, QImage::Format_RGB888)},
        {"RGB32", colour(9, 4, QImage::Format_RGB32)},
        {"opaque ARGB32", colour(9, 4, QImage::Format_ARGB32)},
        {"RGB16", colour(9, 4, QImage::Format_RGB16)},
        {"one pixel", colour(1, 1, QImage::Format_RGB32)},
    };
}

TEST(TiffWriter, ReadsBackTheSamePixelsForEveryPictureFormat)
{
    for (const auto& [name, source] : roundTripSources()) {
        SCOPED_TRACE(name);
        TFileTiff file;
        file.setData(written(source), QStringLiteral("round.tif"));
        QImage image;
        ASSERT_TRUE(ReadTiff(file, image));
        ASSERT_EQ(image.size(), source.size());
        EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), source.convertToFormat(QImage::Format_RGB32));
    }
}

class TiffWriteFileTest : public TempHomeTest {};

TEST_F(TiffWriteFileTest, ReplacesAFileOnlyWithACompleteOne)
{
    const QString path = makeFile(QStringLiteral("out/picture.tif"), QByteArray("old contents"));
    // A picture that cannot be written leaves the old file as it was, and no stray file.
    ViewerStatus status = WriteTiffFile(path, QImage());
    EXPECT_FALSE(status);
    EXPECT_EQ(status.errorString(), QStringLiteral("TIFF: the picture is empty"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old contents"));
    old.close();
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{QStringLiteral("picture.tif")});

    const QImage picture = colour(6, 3, QImage::Format_RGB32);
    status = WriteTiffFile(path, picture);
    ASSERT_TRUE(status) << qPrintable(status.errorString());
    QImage back;
    ASSERT_TRUE(ReadTiffFile(path, back));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);

    // A folder that cannot exist (its parent is a file) is an error, with a reason.
    status = WriteTiffFile(path + QStringLiteral("/inside.tif"), picture);
    EXPECT_FALSE(status);
    EXPECT_TRUE(status.errorString().startsWith(QStringLiteral("TIFF: cannot create \"%1/inside.tif\": ").arg(path)))
        << qPrintable(status.errorString());
}

} // namespace
