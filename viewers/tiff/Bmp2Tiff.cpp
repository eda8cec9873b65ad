#include "viewers/tiff/Bmp2Tiff.h"

#include "viewers/tiff/TiffFormat.h"

#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {

const tiff::RationalValue Resolution{877, 10};
// With its terminating zero, which TIFF asks of every ASCII value.
const QByteArray SoftwareName("Pelmo soft", 11);

struct Prepared {
    QImage image;
    int bits = 24;
};

bool isBlackAndWhite(const QList<QRgb>& table)
{
    if (table.size() != 2)
        return false;
    const QRgb a = table[0] & RGB_MASK;
    const QRgb b = table[1] & RGB_MASK;
    const QRgb black = 0x000000, white = 0xFFFFFF;
    return (a == black && b == white) || (a == white && b == black);
}

int highestIndex(const QImage& indexed)
{
    int highest = 0;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        highest = std::max<int>(highest, *std::max_element(row, row + indexed.width()));
    }
    return highest;
}

QImage grayAsIndexed(const QImage& gray)
{
    QImage indexed(gray.size(), QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(i, i, i);
    indexed.setColorTable(table);
    for (int y = 0; y < gray.height(); ++y)
        std::copy_n(gray.constScanLine(y), gray.width(), indexed.scanLine(y));
    return indexed;
}

// Chooses the written kind from the picture's format: black-and-white 1-bit pictures stay
// 1 bit (inverted where the picture's zero is white, as the file's zero is black); other
// palettes keep their colours in 4 or 8 bits; everything else becomes 24-bit colour.
Prepared prepare(const QImage& source)
{
    switch (source.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: {
        QImage mono = source.convertToFormat(QImage::Format_Mono);
        if (!isBlackAndWhite(mono.colorTable()))
            return prepare(mono.convertToFormat(QImage::Format_Indexed8));
        if ((mono.color(0) & RGB_MASK) != 0) {
            mono.invertPixels();
            mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        }
        return {mono, 1};
    }
    case QImage::Format_Indexed8:
        return {source, source.colorCount() <= 16 && highestIndex(source) < 16 ? 4 : 8};
    case QImage::Format_Grayscale8:
        return {grayAsIndexed(source), 8};
    default:
        return {source.convertToFormat(QImage::Format_RGB888), 24};
    }
}

class TiffStreamWriter {
public:
    TiffStreamWriter(QIODevice& out, const Prepared& prepared)
        : m_out(out)
        , m_image(prepared.image)
        , m_bits(prepared.bits)
        , m_width(uint32_t(m_image.width()))
        , m_height(uint32_t(m_image.height()))
        , m_rowBytes(m_bits == 24 ? qsizetype(m_width) * 3 : (qsizetype(m_width) * m_bits + 7) / 8)
    {
    }

    ViewerStatus write();

private:
    // Offsets of the pieces of the file, in the order they are written.
    struct Plan {
        uint32_t colourMap = 0;
        uint32_t xResolution = 0;
        uint32_t yResolution = 0;
        uint32_t bitsPerSample = 0;
        uint32_t software = 0;
        uint32_t imageData = 0;
        uint32_t directory = 0;
    };

    bool plan(Plan& p) const;
    QByteArray colourMap() const;
    QByteArray valueBlock() const;
    QByteArray directory(const Plan& p) const;
    QByteArray row(int y) const;
    bool put(const QByteArray& bytes);
    bool padTo(uint64_t offset);
    bool writeImageData();

    QIODevice& m_out;
    QImage m_image;
    int m_bits;
    uint32_t m_width;
    uint32_t m_height;
    qsizetype m_rowBytes;
    uint64_t m_written = 0;
};

uint64_t even(uint64_t offset)
{
    return offset + (offset & 1);
}

bool TiffStreamWriter::plan(Plan& p) const
{
    const uint64_t data = uint64_t(m_rowBytes) * m_height;
    const uint64_t values = 2 * tiff::RationalValue::Size;
    uint64_t pos = tiff::Header::Size;
    // Values and the directory start on even offsets, as TIFF asks; the image data need not.
    if (m_bits == 1) {
        p.imageData = uint32_t(pos);
        pos = even(pos + data);
    } else if (m_bits <= 8) {
        p.colourMap = uint32_t(pos);
        pos += 6u << m_bits;
    }
    p.xResolution = uint32_t(pos);
    p.yResolution = uint32_t(pos + tiff::RationalValue::Size);
    pos += values;
    if (m_bits == 24) {
        p.bitsPerSample = uint32_t(pos);
        pos += 6;
    }
    p.software = uint32_t(pos);
    pos += uint64_t(SoftwareName.size());
    if (m_bits != 1) {
        p.imageData = uint32_t(pos);
        pos += data;
    }
    pos = even(pos);
    p.directory = uint32_t(pos);
    const uint64_t directorySize = 2 + 15 * tiff::Entry::Size + 4;
    return pos + directorySize <= std::numeric_limits<uint32_t>::max();
}

QByteArray TiffStreamWriter::colourMap() const
{
    // Red values of every colour, then green, then blue; each 8-bit colour in the high byte
    // and repeated in the low one, so that readers scaling by 65535 get the colour back.
    const int colours = 1 << m_bits;
    QByteArray map;
    for (int channel = 0; channel < 3; ++channel) {
        for (int i = 0; i < colours; ++i) {
            const QRgb c = i < m_image.colorCount() ? m_image.color(i) : 0;
            const int value = channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
            tiff::appendLE16(map, uint16_t(value * 257));
        }
    }
    return map;
}

// The resolutions, the bits per sample of a colour picture and the software name.
QByteArray TiffStreamWriter::valueBlock() const
{
    QByteArray block;
    Resolution.write(block);
    Resolution.write(block);
    if (m_bits == 24) {
        for (int i = 0; i < 3; ++i)
            tiff::appendLE16(block, 8);
    }
    block.append(SoftwareName);
    return block;
}

QByteArray TiffStreamWriter::directory(const Plan& p) const
{
    using namespace tiff;
    const bool colour = m_bits == 24;
    const bool palette = m_bits == 4 || m_bits == 8;
    const uint16_t sizeType = m_width > 0xFFFF || m_height > 0xFFFF ? Long : Short;
    QByteArray dir;
    appendLE16(dir, uint16_t(m_bits == 1 ? 14 : 15));
    Entry::write(dir, NewSubfileType, Long, 1, 0);
    Entry::write(dir, ImageWidth, sizeType, 1, m_width);
    Entry::write(dir, ImageLength, sizeType, 1, m_height);
    if (colour)
        Entry::write(dir, BitsPerSample, Short, 3, p.bitsPerSample);
    else
        Entry::write(dir, BitsPerSample, Short, 1, uint32_t(m_bits));
    Entry::write(dir, Compression, Short, 1, 1);
    Entry::write(dir, Photometric, Short, 1, colour ? 2 : palette ? 3 : 1);
    Entry::write(dir, StripOffsets, Long, 1, p.imageData);
    Entry::write(dir, SamplesPerPixel, Short, 1, colour ? 3 : 1);
    Entry::write(dir, RowsPerStrip, Long, 1, m_height);
    Entry::write(dir, StripByteCounts, Long, 1, uint32_t(uint64_t(m_rowBytes) * m_height));
    Entry::write(dir, XResolution, Rational, 1, p.xResolution);
    Entry::write(dir, YResolution, Rational, 1, p.yResolution);
    if (colour)
        Entry::write(dir, PlanarConfiguration, Short, 1, 1);
    Entry::write(dir, ResolutionUnit, Short, 1, 2);
    Entry::write(dir, Software, Ascii, uint32_t(SoftwareName.size()), p.software);
    if (palette)
        Entry::write(dir, ColorMap, Short, 3u << m_bits, p.colourMap);
    appendLE32(dir, 0);
    return dir;
}

// One row as the file holds it: only its meaningful bytes, unused trailing bits zero.
QByteArray TiffStreamWriter::row(int y) const
{
    const uchar* line = m_image.constScanLine(y);
    if (m_bits == 4) {
        QByteArray packed(m_rowBytes, '\0');
        for (uint32_t x = 0; x < m_width; ++x)
            packed[x / 2] = char(packed[x / 2] | (line[x] & 0x0F) << (x % 2 ? 0 : 4));
        return packed;
    }
    QByteArray bytes(reinterpret_cast<const char*>(line), m_rowBytes);
    if (m_bits == 1 && m_width % 8)
        bytes[m_rowBytes - 1] = char(bytes[m_rowBytes - 1] & (0xFF << (8 - m_width % 8)));
    return bytes;
}

bool TiffStreamWriter::put(const QByteArray& bytes)
{
    if (m_out.write(bytes) != bytes.size())
        return false;
    m_written += uint64_t(bytes.size());
    return true;
}

bool TiffStreamWriter::padTo(uint64_t offset)
{
    return m_written == offset || (m_written + 1 == offset && put(QByteArray(1, '\0')));
}

bool TiffStreamWriter::writeImageData()
{
    for (int y = 0; y < int(m_height); ++y) {
        if (!put(row(y)))
            return false;
    }
    return true;
}

ViewerStatus TiffStreamWriter::write()
{
    Plan p;
    if (!plan(p))
        return ViewerStatus::failure(QStringLiteral("TIFF: the picture is too large for a TIFF file"));
    tiff::Header header;
    header.firstDirectory = p.directory;
    QByteArray head;
    header.write(head);
    bool ok = put(head);
    if (m_bits == 1)
        ok = ok && writeImageData() && padTo(p.xResolution) && put(valueBlock());
    else if (m_bits == 24)
        ok = ok && put(valueBlock()) && writeImageData();
    else
        ok = ok && put(colourMap()) && put(valueBlock()) && writeImageData();
    ok = ok && padTo(p.directory) && put(directory(p));
    if (!ok)
        return ViewerStatus::failure(QStringLiteral("TIFF: writing failed: ")
                                     + (m_out.errorString().isEmpty() ? QStringLiteral("unknown error") : m_out.errorString()));
    return ViewerStatus();
}

} // namespace

ViewerStatus WriteTiffStream(QIODevice& out, const QImage& source)
{
    if (source.isNull())
        return ViewerStatus::failure(QStringLiteral("TIFF: the picture is empty"));
    return TiffStreamWriter(out, prepare(source)).write();
}

ViewerStatus WriteTiffFile(const QString& fileName, const QImage& source)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return ViewerStatus::failure(QStringLiteral("TIFF: cannot create \"%1\": %2").arg(fileName, file.errorString()));
    const ViewerStatus written = WriteTiffStream(file, source);
    if (!written) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return ViewerStatus::failure(QStringLiteral("TIFF: cannot write \"%1\": %2").arg(fileName, file.errorString()));
    return ViewerStatus();
}
