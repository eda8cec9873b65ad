#include "viewers/image/WmfWriter.h"

#include <QtEndian>

namespace {

class LittleWriter {
public:
    explicit LittleWriter(QByteArray& out)
        : m_out(out)
    {
    }
    void u16(quint32 value)
    {
        char bytes[2];
        qToLittleEndian<quint16>(quint16(value), bytes);
        m_out.append(bytes, 2);
    }
    void u32(quint32 value)
    {
        char bytes[4];
        qToLittleEndian<quint32>(value, bytes);
        m_out.append(bytes, 4);
    }

private:
    QByteArray& m_out;
};

// A bottom-up 24-bit DIB: BITMAPINFOHEADER, then rows of blue, green, red padded to 4 bytes.
QByteArray dibOf(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const qsizetype stride = (qsizetype(rgb.width()) * 3 + 3) & ~qsizetype(3);
    QByteArray dib;
    dib.reserve(40 + stride * rgb.height());
    LittleWriter out(dib);
    out.u32(40);
    out.u32(quint32(rgb.width()));
    out.u32(quint32(rgb.height()));
    out.u16(1);
    out.u16(24);
    out.u32(0); // BI_RGB
    out.u32(quint32(stride * rgb.height()));
    out.u32(3780); // 96 dots per inch, in dots per metre
    out.u32(3780);
    out.u32(0);
    out.u32(0);
    QByteArray row(stride, '\0');
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* from = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            row[x * 3] = char(from[x * 3 + 2]);
            row[x * 3 + 1] = char(from[x * 3 + 1]);
            row[x * 3 + 2] = char(from[x * 3]);
        }
        dib += row;
    }
    return dib;
}

void placeableHeader(LittleWriter& out, int width, int height)
{
    const quint16 words[] = {0xCDD7, 0x9AC6, 0, 0, 0, quint16(width), quint16(height), 96, 0, 0};
    quint16 checksum = 0;
    for (quint16 word : words) {
        out.u16(word);
        checksum ^= word;
    }
    out.u16(checksum);
}

} // namespace

ViewerStatus WmfWriter::write(const QImage& picture, QByteArray& bytes)
{
    if (picture.isNull())
        return ViewerStatus::failure(QStringLiteral("WMF: the picture is empty"));
    if (picture.width() > MaxSide || picture.height() > MaxSide)
        return ViewerStatus::failure(QStringLiteral("WMF: the picture is too large for a metafile"));
    const int width = picture.width();
    const int height = picture.height();
    const QByteArray dib = dibOf(picture);
    const quint32 stretchWords = quint32(14 + dib.size() / 2);
    const quint32 totalWords = 9 + 5 + 5 + stretchWords + 3;
    QByteArray out;
    out.reserve(22 + qsizetype(totalWords) * 2);
    LittleWriter w(out);
    placeableHeader(w, width, height);
    w.u16(1);      // in memory
    w.u16(9);      // header words
    w.u16(0x0300); // version
    w.u32(totalWords);
    w.u16(0);      // objects
    w.u32(stretchWords);
    w.u16(0);
    const quint16 window[][2] = {{0x020B, 0}, {0x020C, 1}};
    for (const auto& record : window) {
        w.u32(5);
        w.u16(record[0]);
        w.u16(record[1] ? quint32(height) : 0);
        w.u16(record[1] ? quint32(width) : 0);
    }
    w.u32(stretchWords);
    w.u16(0x0F43);
    w.u32(0x00CC0020); // SRCCOPY
    w.u16(0);          // DIB_RGB_COLORS
    for (int value : {height, width, 0, 0, height, width, 0, 0})
        w.u16(quint32(value));
    out += dib;
    w.u32(3);
    w.u16(0);
    bytes = std::move(out);
    return ViewerStatus();
}
