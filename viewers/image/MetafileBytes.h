#pragma once
// A bounds-checked little-endian view of a metafile record. Reading past the record's end
// yields 0 and marks the view short, so a record that lies about its parameters is skipped
// instead of being read beyond its bytes.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

class MetafileBytes {
public:
    MetafileBytes() = default;
    MetafileBytes(const char* data, qint64 size)
        : m_data(reinterpret_cast<const uchar*>(data)), m_size(size)
    {
    }

    qint64 size() const { return m_size; }
    bool has(qint64 offset, qint64 length) const { return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset; }
    // True once a read went past the end.
    bool isShort() const { return m_short; }

    std::uint8_t u8(qint64 at) const;
    std::uint16_t u16(qint64 at) const;
    std::int16_t s16(qint64 at) const { return std::int16_t(u16(at)); }
    std::uint32_t u32(qint64 at) const;
    std::int32_t s32(qint64 at) const { return std::int32_t(u32(at)); }
    float f32(qint64 at) const;
    // length bytes from offset, empty (and short) when they are not all there.
    QByteArray bytes(qint64 at, qint64 length) const;
    // The part from offset of length bytes as a view of its own.
    MetafileBytes part(qint64 at, qint64 length) const;

private:
    const uchar* m_data = nullptr;
    qint64 m_size = 0;
    mutable bool m_short = false;
};

// A device-independent bitmap (a BITMAPINFO header with its colours, then the pixels) as
// metafiles embed it; a null image when it is damaged or larger than the picture limit.
QImage DibImage(const QByteArray& header, const QByteArray& bits);
// The same for a packed DIB, the header, colours and pixels in one block.
QImage PackedDibImage(const QByteArray& packed);
// The part of a DIB of imageHeight rows that a blit names by (x, y, width, height), where
// y counts from the bottom row of a bottom-up DIB, as the blit records give it.
QRectF DibSourceRect(const QByteArray& header, int imageHeight, double x, double y, double width, double height);
