#include "viewers/image/MetafileBytes.h"

#include "viewers/image/PictureFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstring>

std::uint8_t MetafileBytes::u8(qint64 at) const
{
    if (!has(at, 1)) {
        m_short = true;
        return 0;
    }
    return m_data[at];
}

std::uint16_t MetafileBytes::u16(qint64 at) const
{
    if (!has(at, 2)) {
        m_short = true;
        return 0;
    }
    return qFromLittleEndian<quint16>(m_data + at);
}

std::uint32_t MetafileBytes::u32(qint64 at) const
{
    if (!has(at, 4)) {
        m_short = true;
        return 0;
    }
    return qFromLittleEndian<quint32>(m_data + at);
}

float MetafileBytes::f32(qint64 at) const
{
    const std::uint32_t raw = u32(at);
    float value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

QByteArray MetafileBytes::bytes(qint64 at, qint64 length) const
{
    if (!has(at, length)) {
        m_short = true;
        return QByteArray();
    }
    return QByteArray(reinterpret_cast<const char*>(m_data + at), qsizetype(length));
}

MetafileBytes MetafileBytes::part(qint64 at, qint64 length) const
{
    if (!has(at, length)) {
        m_short = true;
        return MetafileBytes();
    }
    return MetafileBytes(reinterpret_cast<const char*>(m_data + at), length);
}

// The DIB gets the 14-byte file header of a BMP file in front and goes to Qt's BMP reader,
// its size checked first.
QImage DibImage(const QByteArray& header, const QByteArray& bits)
{
    const MetafileBytes info(header.constData(), header.size());
    const std::uint32_t headerSize = info.u32(0);
    if (info.isShort() || headerSize < 12 || headerSize > quint32(header.size()))
        return QImage();
    QByteArray file("BM", 2);
    file.resize(14);
    const quint32 total = quint32(14 + header.size() + bits.size());
    qToLittleEndian<quint32>(total, file.data() + 2);
    qToLittleEndian<quint32>(0, file.data() + 6);
    qToLittleEndian<quint32>(quint32(14 + header.size()), file.data() + 10);
    file += header;
    file += bits;
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > PictureFile::MaxPixels)
        return QImage();
    return reader.read();
}

// The pixels start after the header, the bit masks of a BI_BITFIELDS header of 40 bytes
// and the colour table (its own count, or all 2^bits colours of a paletted picture).
QImage PackedDibImage(const QByteArray& packed)
{
    const MetafileBytes dib(packed.constData(), packed.size());
    const std::uint32_t headerSize = dib.u32(0);
    const bool core = headerSize == 12;
    const std::uint16_t bitCount = core ? dib.u16(10) : dib.u16(14);
    const std::uint32_t compression = core ? 0 : dib.u32(16);
    std::uint32_t colours = core ? 0 : dib.u32(32);
    if (colours == 0 && bitCount <= 8)
        colours = 1u << bitCount;
    if (dib.isShort() || headerSize < 12 || colours > 256)
        return QImage();
    qint64 offset = qint64(headerSize) + qint64(colours) * (core ? 3 : 4);
    if (headerSize == 40 && (compression == 3 || compression == 6))
        offset += compression == 3 ? 12 : 16;
    if (offset > packed.size())
        return QImage();
    return DibImage(packed.left(qsizetype(offset)), packed.mid(qsizetype(offset)));
}

QRectF DibSourceRect(const QByteArray& header, int imageHeight, double x, double y, double width, double height)
{
    const MetafileBytes info(header.constData(), header.size());
    const bool bottomUp = info.u32(0) == 12 || info.s32(8) > 0;
    return QRectF(x, bottomUp ? imageHeight - y - height : y, width, height);
}
