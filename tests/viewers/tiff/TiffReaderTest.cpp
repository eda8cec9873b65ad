// The reader: the four image kinds in both byte orders, colour tables, strips, several
// images in one file, and the exact message for every tag or data error.
#include "tiff/TiffBuilder.h"

#include "support/TempHome.h"
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"

#include <QFile>
#include <QImage>

#include <sys/stat.h>

namespace {

// Packs a row given as '0'/'1' characters (bits) or hex digits (4-bit samples).
QByteArray packBits1(const char* bits)
{
    QByteArray row;
    const int n = int(strlen(bits));
    for (int i = 0; i < n; i += 8) {
        int byte = 0;
        for (int j = 0; j < 8; ++j)
            byte = byte << 1 | (i + j < n && bits[i + j] == '1');
        row.append(char(byte));
    }
    return row;
}

QByteArray packNibbles(const char* hex)
{
    QByteArray row;
    const int n = int(strlen(hex));
    for (int i = 0; i < n; i += 2) {
        const int hi = QByteArray(1, hex[i]).toInt(nullptr, 16);
        const int lo = i + 1 < n ? QByteArray(1, hex[i + 1]).toInt(nullptr, 16) : 0;
        row.append(char(hi << 4 | lo));
    }
    return row;
}

QRgb gray(int v)
{
    return qRgb(v, v, v);
}

std::vector<QRgb> pixelsOf(const QImage& image)
{
    std::vector<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y));
    }
    return pixels;
}

std::vector<uint16_t> paletteMap(const std::vector<QRgb>& colours)
{
    std::vector<uint16_t> map;
    for (int shift : {16, 8, 0}) {
        for (QRgb c : colours)
            map.push_back(uint16_t(((c >> shift) & 0xFF) * 257));
    }
    return map;
}

struct KindCase {
    const char* name;
    TestImage image;
    std::vector<QRgb> expected;
};

std::vector<KindCase> kindCases()
{
    const QRgb w = gray(255), b = gray(0);
    std::vector<QRgb> levels, reversed;
    for (int i = 0; i < 16; ++i) {
        levels.push_back(gray(i * 17));
        reversed.push_back(gray(255 - i * 17));
    }
    std::vector<QRgb> colours256, indexes256;
    QByteArray all256;
    for (int i = 0; i < 256; ++i) {
        colours256.push_back(qRgb(i, 255 - i, (i * 7) % 256));
        all256.append(char(i));
    }
    const std::vector<QRgb> four{qRgb(200, 10, 10), qRgb(10, 200, 10), qRgb(10, 10, 200), qRgb(1, 2, 3)};
    return {
        {"bilevel, black is zero, rows padded to a byte",
         {1, 10, 2, {1}, packBits1("1011000001") + packBits1("0100000010")},
         {w, b, w, w, b, b, b, b, b, w, b, w, b, b, b, b, b, b, w, b}},
        {"bilevel, white is zero: zero bits are white",
         {0, 10, 1, {1}, packBits1("1011000001")},
         {b, w, b, b, w, w, w, w, w, b}},
        {"bilevel without bits per sample", {1, 3, 1, {}, packBits1("101")}, {w, b, w}},
        {"gray 4 bits: 16 levels from black to white", {1, 16, 1, {4}, packNibbles("0123456789abcdef")}, levels},
        {"gray 4 bits, white is zero", {0, 16, 1, {4}, packNibbles("0123456789abcdef")}, reversed},
        {"gray 8 bits", {1, 3, 1, {8}, QByteArray("\x00\x80\xff", 3)}, {gray(0), gray(128), gray(255)}},
        {"gray 8 bits, white is zero", {0, 3, 1, {8}, QByteArray("\x00\x80\xff", 3)}, {gray(255), gray(127), gray(0)}},
        {"palette 8 bits keeps all 256 colours", {3, 256, 1, {8}, all256, paletteMap(colours256)}, colours256},
        {"palette 4 bits, odd width", {3, 3, 2, {4}, packNibbles("013") + packNibbles("320"),
                                       paletteMap({four[0], four[1], four[2], four[3]})},
         {four[0], four[1], four[3], four[3], four[2], four[0]}},
        {"palette 1 bit", {3, 2, 1, {1}, packBits1("01"), paletteMap({four[0], four[1]})}, {four[0], four[1]}},
        {"RGB, one pixel: a 3-byte row", {2, 1, 1, {8, 8, 8}, QByteArray("\x10\x20\x30", 3)}, {qRgb(0x10, 0x20, 0x30)}},
        {"RGB in strips of two rows",
         {2, 2, 3, {8, 8, 8}, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12", 18), {}, 2},
         {qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9), qRgb(10, 11, 12), qRgb(13, 14, 15), qRgb(16, 17, 18)}},
        {"RGB with an alpha sample stepped over", {2, 2, 1, {8, 8, 8, 8}, QByteArray("\x01\x02\x03\xff\x04\x05\x06\x00", 8)},
         {qRgb(1, 2, 3), qRgb(4, 5, 6)}},
        {"RGB, one value for all three samples", {2, 1, 1, {8}, QByteArray("\x07\x08\x09", 3), {}, 0, 1, 3}, {qRgb(7, 8, 9)}},
    };
}

class TiffReaderTest : public TempHomeTest {
protected:
    // Writes the bytes to a file and reads it; returns whether an image decoded.
    bool read(const QByteArray& bytes, QImage& image, QString* error = nullptr)
    {
        m_path = makeFile(QStringLiteral("case.tif"), bytes);
        const ViewerStatus status = ReadTiffFile(m_path, image);
        if (error)
            *error = status.errorString();
        return status.ok();
    }

    QString m_path;
};

TEST_F(TiffReaderTest, DecodesEveryKindInBothByteOrders)
{
    for (const KindCase& c : kindCases()) {
        for (bool big : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (big ? " (MM)" : " (II)"));
            QImage image;
            ASSERT_TRUE(read(tiffOf(c.image, big), image));
            EXPECT_EQ(image.width(), int(c.image.width));
            EXPECT_EQ(image.height(), int(c.image.height));
            EXPECT_EQ(pixelsOf(image), c.expected);
            EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(QLatin1Char('|')).toStdString();
        }
    }
}

TEST_F(TiffReaderTest, SeveralImagesLeaveTheLastThatDecoded)
{
    TiffBuilder builder;
    const uint32_t first = addImage(builder, {2, 1, 1, {8, 8, 8}, QByteArray("\x01\x02\x03", 3)});
    const uint32_t second = addImage(builder, {1, 2, 1, {8}, QByteArray("\x40\x80", 2)});
    // A third directory that cannot be decoded does not replace the second image.
    const uint32_t third = addImage(builder, {2, 1, 1, {16, 16, 16}, QByteArray(6, '\0')});
    builder.setNext(first, second);
    builder.setNext(second, third);
    QImage image;
    ASSERT_TRUE(read(builder.bytes(), image));
    EXPECT_EQ(pixelsOf(image), (std::vector<QRgb>{gray(0x40), gray(0x80)}));
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Error: Bits Per Sample (RGB) not 8")});
}

TEST_F(TiffReaderTest, PaletteMapOfNoneOrTooManyColoursLeavesTheIdentity)
{
    for (uint32_t mapValues : {0u, 771u}) {
        SCOPED_TRACE(mapValues);
        TiffBuilder builder;
        const uint32_t map = builder.addShorts(std::vector<uint16_t>(std::max(mapValues, 1u), 0xFFFF));
        const uint32_t data = builder.add(QByteArray("\x07\xc8", 2));
        builder.addDirectory({{256, 4, 1, 2}, {257, 4, 1, 1}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 3},
                              {273, 4, 1, data}, {279, 4, 1, 2}, {320, 3, mapValues, map}});
        QImage decoded;
        ASSERT_TRUE(read(builder.bytes(), decoded));
        EXPECT_EQ(pixelsOf(decoded), (std::vector<QRgb>{gray(7), gray(200)}));
    }
}

struct MessageCase {
    const char* name;
    QByteArray bytes;
    QStringList messages;
    bool decodes;
};

QByteArray withEntries(std::vector<TiffBuilder::Entry> entries, const QByteArray& data = QByteArray(4, '\x11'))
{
    TiffBuilder builder;
    const uint32_t offset = builder.add(data);
    for (auto& e : entries) {
        if (e.tag == 273 && e.value == 0)
            e.value = offset;
    }
    builder.addDirectory(entries);
    return builder.bytes();
}

// A 2 x 2 8-bit gray image's entries with one tag's entry replaced (or left out: count 0).
QByteArray grayWith(uint16_t tag, TiffBuilder::Entry replacement)
{
    std::vector<TiffBuilder::Entry> entries{{256, 4, 1, 2}, {257, 4, 1, 2}, {258, 3, 1, 8}, {259, 3, 1, 1},
                                            {262, 3, 1, 1}, {273, 4, 1, 0}, {279, 4, 1, 4}};
    for (auto& e : entries) {
        if (e.tag == tag)
            e = replacement;
    }
    std::erase_if(entries, [](const TiffBuilder::Entry& e) { return e.count == 0; });
    return withEntries(entries);
}

QString compressedText(const char* kind)
{
    return QString::fromLatin1(kind) + QStringLiteral("\r\rfeel free to implement this type of image\rand send your code to QuorVel");
}

std::vector<MessageCase> messageCases()
{
    const TiffBuilder::Entry none{0, 3, 0, 0};
    auto kindWith = [](uint16_t photometric, uint16_t bits, uint16_t compression) {
        return withEntries({{256, 4, 1, 2}, {257, 4, 1, 2}, {258, 3, 1, bits}, {259, 3, 1, compression},
                            {262, 3, 1, photometric}, {273, 4, 1, 0}, {279, 4, 1, 4}});
    };
    TiffBuilder rgb16;
    rgb16.addDirectory({{256, 4, 1, 1}, {257, 4, 1, 1}, {258, 3, 3, rgb16.addShorts({16, 16, 16})}, {259, 3, 1, 1},
                        {262, 3, 1, 2}, {273, 4, 1, rgb16.add(QByteArray(6, '\0'))}, {277, 3, 1, 3}, {279, 4, 1, 6}});
    TiffBuilder rgbMixed;
    rgbMixed.addDirectory({{256, 4, 1, 1}, {257, 4, 1, 1}, {258, 3, 3, rgbMixed.addShorts({8, 8, 16})}, {259, 3, 1, 1},
                           {262, 3, 1, 2}, {273, 4, 1, rgbMixed.add(QByteArray(6, '\0'))}, {277, 3, 1, 3}, {279, 4, 1, 6}});
    TiffBuilder stopped;
    const uint32_t noPhotometric = stopped.addDirectory({{256, 4, 1, 1}, {257, 4, 1, 1}});
    stopped.setNext(noPhotometric, addImage(stopped, {1, 1, 1, {8}, QByteArray(1, '\x10')}));
    TiffBuilder goesOn;
    const uint32_t noWidth = goesOn.addDirectory({{257, 4, 1, 1}, {262, 3, 1, 1}});
    goesOn.setNext(noWidth, addImage(goesOn, {1, 1, 1, {8}, QByteArray(1, '\x10')}));
    return {
        {"not a TIFF header", QByteArray("GIF89a\x01\x00\x01\x00", 10), {QStringLiteral("<%1> is not a valid TIFF file")}, false},
        {"version other than 42", QByteArray("II\x2b\x00\x08\x00\x00\x00", 8), {QStringLiteral("<%1> is not a valid TIFF file")}, false},
        {"shorter than a header", QByteArray("II*\x00", 4), {QStringLiteral("<%1> is not a valid TIFF file")}, false},
        {"no photometric: the rest of the file is not decoded", stopped.bytes(),
         {QStringLiteral("Error reading tag Photometric interpretation")}, false},
        {"photometric out of range", grayWith(262, {262, 3, 1, 5}), {QStringLiteral("Error evaluating Photometric interpretation: 5")}, false},
        {"no width: the next image decodes", goesOn.bytes(), {QStringLiteral("Error reading tag Image Width")}, true},
        {"no height", grayWith(257, none), {QStringLiteral("Error reading tag Image Height")}, false},
        {"no compression", grayWith(259, none), {QStringLiteral("Error reading tag Compression")}, false},
        {"compressed bilevel", kindWith(1, 1, 4), {compressedText("Cant read compressed bilevel image")}, false},
        {"compressed gray", kindWith(1, 8, 7), {compressedText("Cant read compressed Gray Scale Image")}, false},
        {"compressed palette", kindWith(3, 8, 2), {compressedText("Cant read compressed ColorPaletImage")}, false},
        {"compressed RGB", kindWith(2, 8, 7), {compressedText("Cant read compressed RGB Full Color Image")}, false},
        {"palette without bits per sample",
         withEntries({{256, 4, 1, 2}, {257, 4, 1, 2}, {259, 3, 1, 1}, {262, 3, 1, 3}, {273, 4, 1, 0}, {279, 4, 1, 4}}),
         {QStringLiteral("Error reading tag Bits Per Sample")}, false},
        {"palette without a colour map", kindWith(3, 8, 1), {QStringLiteral("Error reading tag Color Table Offset")}, false},
        {"RGB of 16 bits per sample", rgb16.bytes(), {QStringLiteral("Error: Bits Per Sample (RGB) not 8")}, false},
        {"RGB of 8, 8 and 16 bits per sample", rgbMixed.bytes(), {QStringLiteral("Error: Bits Per Sample (RGB) not 8")}, false},
        {"gray of 16 bits per sample", grayWith(258, {258, 3, 1, 16}), {QStringLiteral("Error: Bits Per Sample (Gray) not 2, 4 or 8")}, false},
        {"strip past the end of the file", grayWith(273, {273, 4, 1, 4000}), {QStringLiteral("Error reading image data")}, false},
        {"strip shorter than the image", grayWith(279, {279, 4, 1, 3}), {QStringLiteral("Error reading image data")}, false},
        {"strip tables of unequal length", grayWith(279, {279, 3, 2, 0x00020002}), {QStringLiteral("Error reading image data")}, false},
        {"no strip table", grayWith(273, none), {QStringLiteral("Error reading image data")}, false},
        {"planar RGB", withEntries({{256, 4, 1, 1}, {257, 4, 1, 1}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 2},
                                    {273, 4, 1, 0}, {277, 3, 1, 3}, {279, 4, 1, 3}, {284, 3, 1, 2}}),
         {QStringLiteral("Error: Planar Configuration not supported")}, false},
    };
}

TEST_F(TiffReaderTest, ReportsEveryErrorWithItsExactText)
{
    for (const MessageCase& c : messageCases()) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        QImage image;
        QString error;
        EXPECT_EQ(read(c.bytes, image, &error), c.decodes);
        QStringList expected;
        for (const QString& m : c.messages)
            expected << (m.contains(QLatin1String("%1")) ? m.arg(m_path) : m);
        EXPECT_EQ(prompter().texts(), expected);
        EXPECT_EQ(image.isNull(), !c.decodes);
        EXPECT_EQ(error.isEmpty(), c.decodes);
    }
}

TEST_F(TiffReaderTest, FileKeepsDirectoriesEntriesAndStrips)
{
    TiffBuilder builder(true);
    const uint32_t data = builder.add(QByteArray(6, '\x55'));
    // Two ImageWidth entries: the last one counts. Three strips as SHORT values.
    builder.addDirectory({{256, 3, 1, 9}, {256, 3, 1, 3}, {257, 3, 1, 2}, {258, 3, 1, 8}, {259, 3, 1, 1},
                          {262, 3, 1, 1}, {273, 3, 3, builder.addShorts({uint16_t(data), uint16_t(data + 2), uint16_t(data + 4)})},
                          {278, 3, 1, 1}, {279, 3, 3, builder.addShorts({2, 2, 2})}});
    TFileTiff file;
    EXPECT_TRUE(file.isLittleEndian());
    file.setData(builder.bytes(), QStringLiteral("mm.tif"));
    ASSERT_TRUE(file.isValid());
    EXPECT_FALSE(file.isLittleEndian());
    ASSERT_EQ(file.directoryCount(), 1);
    EXPECT_EQ(file.directory(1), nullptr);
    EXPECT_EQ(file.directory(-1), nullptr);
    const TGraphicTiff& dir = *file.directory(0);
    EXPECT_EQ(dir.entryCount(), 9);
    EXPECT_EQ(dir.value(256), 3u);
    ASSERT_EQ(dir.stripCount(), 3);
    EXPECT_EQ(dir.strip(2)->offset, data + 4);
    EXPECT_FALSE(dir.strip(3).has_value());
    QImage image;
    ASSERT_TRUE(ReadTiff(file, image));
    EXPECT_EQ(image.size(), QSize(3, 2));
}

TEST_F(TiffReaderTest, SettingTheSameNameAgainKeepsTheParseAndAnEmptyNameClears)
{
    const QString path = makeFile(QStringLiteral("a.tif"), tiffOf({1, 1, 1, {8}, QByteArray(1, '\0')}));
    TFileTiff file;
    file.setFileName(path);
    ASSERT_EQ(file.directoryCount(), 1);
    QFile::resize(path, 0);
    file.setFileName(path);
    EXPECT_EQ(file.directoryCount(), 1);
    file.setFileName(QString());
    EXPECT_EQ(file.directoryCount(), 0);
    EXPECT_FALSE(file.isValid());
    EXPECT_EQ(file.fileSize(), 0u);
    EXPECT_TRUE(file.FileName().isEmpty());
}

TEST_F(TiffReaderTest, RefusesWhatIsNotARegularFile)
{
    // A FIFO would block the open; a folder cannot be read. Both are refused at once.
    const QString fifo = home().root() + QStringLiteral("/pipe.tif");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& path : QStringList{fifo, home().root(), home().root() + QStringLiteral("/missing.tif")}) {
        SCOPED_TRACE(path.toStdString());
        prompter().clear();
        QImage image;
        EXPECT_FALSE(ReadTiffFile(path, image));
        ASSERT_EQ(prompter().texts().size(), 1);
        EXPECT_TRUE(prompter().texts().first().startsWith(QStringLiteral("Cannot open \"") + path));
    }
}

} // namespace
