// Hostile and damaged files: sizes that claim more than the file holds, directory chains
// that cycle or never end, truncated directories, damaged compressed strips. Each must end
// in a clear error without a crash, a hang or an allocation sized by the claim.
#include "tiff/TiffBuilder.h"

#include "support/TempHome.h"
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"
#include "viewers/tiff/TiffDecompress.h"

#include <QFile>
#include <QImage>
#include <QtEndian>

#include <sys/resource.h>

namespace {

class TiffHostileTest : public TempHomeTest {
protected:
    bool read(const QByteArray& bytes, QImage& image, QString* error = nullptr)
    {
        m_path = makeFile(QStringLiteral("hostile.tif"), bytes);
        const ViewerStatus status = ReadTiffFile(m_path, image);
        if (error)
            *error = status.errorString();
        return status.ok();
    }

    QString m_path;
};

// Limits the address space while a claim is read, so that an allocation sized by the claim
// fails the test instead of passing unnoticed on a machine with memory to spare.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t extraBytes)
    {
        getrlimit(RLIMIT_AS, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = currentSize() + extraBytes;
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_saved); }

private:
    static rlim_t currentSize()
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        statm.open(QIODevice::ReadOnly);
        return rlim_t(statm.readAll().split(' ').first().toULongLong()) * rlim_t(getpagesize());
    }
    rlimit m_saved{};
};

TEST_F(TiffHostileTest, HugeClaimsAreRefusedBeforeAnythingIsAllocatedForThem)
{
    struct Case {
        const char* name;
        uint16_t photometric;
        uint16_t compression;
    };
    for (const Case& c : {Case{"uncompressed RGB", 2, 1}, Case{"LZW RGB", 2, 5}, Case{"Deflate RGB", 2, 8},
                          Case{"PackBits gray", 1, 32773}}) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        TiffBuilder builder;
        const uint32_t data = builder.add(QByteArray(64, '\x7f'));
        const uint32_t bits = builder.addShorts({8, 8, 8});
        builder.addDirectory({{256, 4, 1, 65535}, {257, 4, 1, 65535},
                              {258, 3, c.photometric == 2 ? 3u : 1u, c.photometric == 2 ? bits : 8u},
                              {259, 3, 1, c.compression}, {262, 3, 1, c.photometric}, {273, 4, 1, data},
                              {277, 3, 1, c.photometric == 2 ? 3u : 1u}, {279, 4, 1, 64}});
        const QString path = makeFile(QStringLiteral("claim.tif"), builder.bytes());
        QImage image;
        {
            AddressSpaceLimit limit(256u << 20);
            EXPECT_FALSE(ReadTiffFile(path, image));
        }
        EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Error reading image data")});
    }
}

TEST_F(TiffHostileTest, WidthOrHeightOutOfRangeEndsDecodingWithAnError)
{
    for (auto [tag, text] : {std::pair{256, "its width 70000 is out of range"}, std::pair{257, "its height 70000 is out of range"}}) {
        SCOPED_TRACE(text);
        TiffBuilder builder;
        const uint32_t good = addImage(builder, {1, 1, 1, {8}, QByteArray(1, '\x10')});
        std::vector<TiffBuilder::Entry> entries{{256, 4, 1, 1}, {257, 4, 1, 1}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 1}};
        for (auto& e : entries) {
            if (e.tag == tag)
                e.value = 70000;
        }
        builder.setNext(good, builder.addDirectory(entries));
        QImage image;
        QString error;
        EXPECT_FALSE(read(builder.bytes(), image, &error));
        EXPECT_EQ(error, QStringLiteral("TIFF: image 2 of \"%1\": %2").arg(m_path, QString::fromLatin1(text)));
        EXPECT_TRUE(prompter().texts().isEmpty());
    }
}

TEST_F(TiffHostileTest, DirectoryChainsThatCycleOrRunOnAreCut)
{
    // Two directories pointing at each other, one pointing at itself, one into the header.
    TiffBuilder pair;
    const uint32_t a = addImage(pair, {1, 1, 1, {8}, QByteArray(1, '\x10')});
    const uint32_t b = addImage(pair, {1, 1, 1, {8}, QByteArray(1, '\x20')});
    pair.setNext(a, b);
    pair.setNext(b, a);
    TiffBuilder self;
    const uint32_t s = addImage(self, {1, 1, 1, {8}, QByteArray(1, '\x30')});
    self.setNext(s, s);
    TiffBuilder header;
    const uint32_t h = addImage(header, {1, 1, 1, {8}, QByteArray(1, '\x40')});
    header.setNext(h, 4);
    for (auto [bytes, count, value] : {std::tuple{pair.bytes(), 2, 0x20}, std::tuple{self.bytes(), 1, 0x30},
                                        std::tuple{header.bytes(), 1, 0x40}}) {
        TFileTiff file;
        file.setData(bytes, QStringLiteral("cycle.tif"));
        EXPECT_EQ(file.directoryCount(), count);
        QImage image;
        ASSERT_TRUE(ReadTiff(file, image));
        EXPECT_EQ(qRed(image.pixel(0, 0)), value);
    }

    // A chain of 300 directories: the first 256 are read, then decoding ends with an error.
    TiffBuilder chain;
    uint32_t previous = 0;
    for (int i = 0; i < 300; ++i) {
        const uint32_t dir = addImage(chain, {1, 1, 1, {8}, QByteArray(1, char(i))});
        if (i > 0)
            chain.setNext(previous, dir);
        previous = dir;
    }
    TFileTiff file;
    file.setData(chain.bytes(), QStringLiteral("chain.tif"));
    EXPECT_EQ(file.directoryCount(), TFileTiff::MaxDirectories);
    EXPECT_TRUE(file.hasTooManyDirectories());
    QImage image;
    const ViewerStatus status = ReadTiff(file, image);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.errorString(), QStringLiteral("TIFF: \"%1\" has more than 256 images").arg(file.FileName()));
    EXPECT_EQ(qRed(image.pixel(0, 0)), 255);
}

TEST_F(TiffHostileTest, TruncatedDirectoriesKeepTheirWholeEntries)
{
    TiffBuilder builder;
    addImage(builder, {1, 2, 1, {8}, QByteArray("\x10\x20", 2)});
    QByteArray bytes = builder.bytes();
    // The directory claims 65535 entries; the file holds 9 of them, then half of one more.
    const uint32_t dir = qFromLittleEndian<uint32_t>(bytes.constData() + 4);
    bytes[dir] = '\xff';
    bytes[dir + 1] = '\xff';
    bytes.truncate(dir + 2 + 9 * 12 + 6);
    TFileTiff file;
    file.setData(bytes, QStringLiteral("cut.tif"));
    ASSERT_EQ(file.directoryCount(), 1);
    const TGraphicTiff& d = *file.directory(0);
    EXPECT_TRUE(d.hasError());
    EXPECT_EQ(d.entryCount(), 65535);
    EXPECT_EQ(d.entries().size(), 9u);
    EXPECT_EQ(d.nextOffset(), 0u);
    QImage image;
    EXPECT_TRUE(ReadTiff(file, image));

    // Value offsets and counts that point past the end give no strips and no values.
    TiffBuilder wild;
    wild.addDirectory({{256, 4, 1, 2}, {257, 4, 1, 2}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 1},
                       {273, 4, 1000000000, 16}, {279, 4, 1000000000, 16}});
    TFileTiff wildFile;
    wildFile.setData(wild.bytes(), QStringLiteral("wild.tif"));
    EXPECT_EQ(wildFile.directory(0)->stripCount(), 0);
    EXPECT_FALSE(wildFile.directory(0)->values(*wildFile.directory(0)->findEntry(273)).has_value());
}

TEST_F(TiffHostileTest, DamagedCompressedStripsAreReported)
{
    struct Case {
        const char* name;
        uint16_t compression;
        QByteArray strip;
    };
    // LZW: a clear code, then a code far beyond the table. Deflate: not a zlib stream.
    // PackBits: a literal run longer than the strip. All three: too little data.
    const Case cases[] = {
        {"LZW code beyond the table", 5, QByteArray("\x80\x3f\xf0\x00", 4)},
        {"Deflate garbage", 8, QByteArray("\x12\x34\x56\x78\x9a", 5)},
        {"PackBits literal past the end", 32773, QByteArray("\x7f\x01\x02", 3)},
        {"Deflate stream too short", 8, qCompress(QByteArray(2, '\x01')).mid(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        QImage image;
        EXPECT_FALSE(read(tiffOf({1, 2, 2, {8}, c.strip, {}, 0, c.compression}), image));
        EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Error reading image data")});
    }
}

TEST(TiffDecompress, DecodesKnownStrips)
{
    // PackBits: the example of the TIFF 6.0 document.
    QByteArray out;
    ASSERT_TRUE(tiff::decompressStrip(tiff::PackBits, QByteArray::fromHex("FEAA0280002AFDAA0380002A22F7AA"), out, 1000));
    EXPECT_EQ(out.toHex(), QByteArray("aaaaaa80002aaaaaaaaa80002a22aaaaaaaaaaaaaaaaaaaa"));
    // The limit cuts the output; nothing past it is written.
    out.clear();
    ASSERT_TRUE(tiff::decompressStrip(tiff::PackBits, QByteArray::fromHex("F7AA"), out, 4));
    EXPECT_EQ(out.toHex(), QByteArray("aaaaaaaa"));

    // LZW: clear, 'A', 'B', 258 ("AB"), 260 (the code being defined: "ABA"), end; 9 bits each.
    const std::vector<int> codes{256, 'A', 'B', 258, 260, 257};
    QByteArray lzw;
    uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc = acc << 9 | uint32_t(code);
        bits += 9;
        while (bits >= 8) {
            lzw.append(char(acc >> (bits - 8)));
            bits -= 8;
        }
    }
    lzw.append(char(acc << (8 - bits)));
    out.clear();
    ASSERT_TRUE(tiff::decompressStrip(tiff::Lzw, lzw, out, 100));
    EXPECT_EQ(out, QByteArray("ABABABA"));

    // Deflate, as zlib writes it.
    const QByteArray plain = QByteArray("0123456789").repeated(50);
    out.clear();
    ASSERT_TRUE(tiff::decompressStrip(tiff::AdobeDeflate, qCompress(plain).mid(4), out, plain.size()));
    EXPECT_EQ(out, plain);
}

TEST_F(TiffHostileTest, CompressedStripsDecodeWithTheirPredictor)
{
    // 3 x 2 RGB, Deflate with horizontal differencing; two strips of one row.
    const QByteArray row1 = QByteArray::fromHex("0a141e0a0a0a0a0a0a");   // 10,20,30 then +10 twice
    const QByteArray row2 = QByteArray::fromHex("ff0000010000010000");   // 255,0,0 then +1 (wraps)
    TiffBuilder builder;
    const uint32_t s1 = builder.add(qCompress(row1).mid(4));
    const uint32_t s2 = builder.add(qCompress(row2).mid(4));
    builder.addDirectory({{256, 4, 1, 3}, {257, 4, 1, 2}, {258, 3, 3, builder.addShorts({8, 8, 8})}, {259, 3, 1, 8},
                          {262, 3, 1, 2}, {273, 4, 2, builder.addLongs({s1, s2})}, {277, 3, 1, 3}, {278, 3, 1, 1},
                          {279, 4, 2, builder.addLongs({uint32_t(qCompress(row1).size() - 4), uint32_t(qCompress(row2).size() - 4)})},
                          {317, 3, 1, 2}});
    QImage image;
    ASSERT_TRUE(read(builder.bytes(), image));
    EXPECT_EQ(image.pixel(2, 0), qRgb(30, 40, 50));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 1), qRgb(1, 0, 0));
}

} // namespace
