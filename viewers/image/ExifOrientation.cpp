#include "viewers/image/ExifOrientation.h"

#include <QTransform>

namespace {

constexpr int kUpright = 1;
constexpr quint16 kOrientationTag = 0x0112;
constexpr int kTiffStart = 6; // after "Exif\0\0"

// Reads 16 or 32 bits at offset of the TIFF block, in its byte order; false past the end.
class ExifBytes {
public:
    ExifBytes(const QByteArray& exif)
        : m_data(reinterpret_cast<const uchar*>(exif.constData()) + kTiffStart)
        , m_size(exif.size() - kTiffStart)
    {
    }
    bool littleEndian() const { return m_data[0] == 'I'; }
    bool read16(qint64 offset, quint32& value) const { return read(offset, 2, value); }
    bool read32(qint64 offset, quint32& value) const { return read(offset, 4, value); }

private:
    bool read(qint64 offset, int length, quint32& value) const
    {
        if (offset < 0 || offset + length > m_size)
            return false;
        value = 0;
        for (int i = 0; i < length; ++i) {
            const int shift = littleEndian() ? 8 * i : 8 * (length - 1 - i);
            value |= quint32(m_data[offset + i]) << shift;
        }
        return true;
    }

    const uchar* m_data;
    qint64 m_size;
};

} // namespace

int ExifOrientation(const QByteArray& exif)
{
    if (exif.size() < kTiffStart + 8 || !exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        return kUpright;
    const QByteArray order = exif.mid(kTiffStart, 2);
    if (order != "II" && order != "MM")
        return kUpright;
    const ExifBytes bytes(exif);
    quint32 directory = 0;
    quint32 count = 0;
    if (!bytes.read32(4, directory) || !bytes.read16(directory, count))
        return kUpright;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 entry = qint64(directory) + 2 + 12 * qint64(i);
        quint32 tag = 0;
        quint32 value = 0;
        if (!bytes.read16(entry, tag))
            return kUpright;
        if (tag == kOrientationTag && bytes.read16(entry + 8, value))
            return value >= 1 && value <= 8 ? int(value) : kUpright;
    }
    return kUpright;
}

QImage OrientedUpright(const QImage& image, int orientation)
{
    // 2, 4, 5 and 7 are mirrored (5 and 7 left to right, then turned); 3 turns half round,
    // 6 and 7 a quarter clockwise, 5 and 8 three quarters.
    QImage turned = image;
    if (orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7)
        turned = turned.mirrored(orientation != 4, orientation == 4);
    int degrees = 0;
    if (orientation == 3)
        degrees = 180;
    else if (orientation == 6 || orientation == 7)
        degrees = 90;
    else if (orientation == 5 || orientation == 8)
        degrees = 270;
    if (degrees == 0)
        return turned;
    return turned.transformed(QTransform().rotate(degrees));
}
