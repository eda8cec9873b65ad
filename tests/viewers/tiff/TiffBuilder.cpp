#include "tiff/TiffBuilder.h"

#include "platform/ByteOrder.h"

#include <algorithm>

TiffBuilder::TiffBuilder(bool bigEndian)
    : m_big(bigEndian)
{
    m_bytes = m_big ? QByteArray("MM") : QByteArray("II");
    put16(m_bytes, 42);
    put32(m_bytes, 0);
}

void TiffBuilder::put16(QByteArray& out, uint16_t v) const
{
    const char hi = char(v >> 8), lo = char(v & 0xFF);
    out.append(m_big ? hi : lo);
    out.append(m_big ? lo : hi);
}

void TiffBuilder::put32(QByteArray& out, uint32_t v) const
{
    put16(out, uint16_t(m_big ? v >> 16 : v & 0xFFFF));
    put16(out, uint16_t(m_big ? v & 0xFFFF : v >> 16));
}

uint32_t TiffBuilder::add(const QByteArray& bytes)
{
    const auto offset = uint32_t(m_bytes.size());
    m_bytes.append(bytes);
    if (m_bytes.size() % 2)
        m_bytes.append('\0');
    return offset;
}

uint32_t TiffBuilder::addShorts(const std::vector<uint16_t>& values)
{
    QByteArray bytes;
    for (uint16_t v : values)
        put16(bytes, v);
    return add(bytes);
}

uint32_t TiffBuilder::addLongs(const std::vector<uint32_t>& values)
{
    QByteArray bytes;
    for (uint32_t v : values)
        put32(bytes, v);
    return add(bytes);
}

uint32_t TiffBuilder::addDirectory(const std::vector<Entry>& entries, uint32_t next)
{
    QByteArray dir;
    put16(dir, uint16_t(entries.size()));
    for (const Entry& e : entries) {
        put16(dir, e.tag);
        put16(dir, e.type);
        put32(dir, e.count);
        if (e.type == 3 && e.count == 1) {
            put16(dir, uint16_t(e.value));
            put16(dir, 0);
        } else {
            put32(dir, e.value);
        }
    }
    put32(dir, next);
    const uint32_t offset = add(dir);
    if (!m_hasDirectory)
        setFirstDirectory(offset);
    m_hasDirectory = true;
    return offset;
}

void TiffBuilder::setNext(uint32_t directory, uint32_t next)
{
    const uint16_t count = m_big ? byteorder::readBE16(m_bytes, directory) : byteorder::readLE16(m_bytes, directory);
    QByteArray value;
    put32(value, next);
    m_bytes.replace(directory + 2 + 12 * count, 4, value);
}

void TiffBuilder::setFirstDirectory(uint32_t offset)
{
    QByteArray value;
    put32(value, offset);
    m_bytes.replace(4, 4, value);
    m_hasDirectory = true;
}

uint32_t addImage(TiffBuilder& builder, const TestImage& image, uint32_t next)
{
    const uint32_t bits = image.bits.empty() ? 1 : image.bits.front();
    const auto samples = image.samples ? uint32_t(image.samples) : uint32_t(std::max<size_t>(image.bits.size(), 1));
    const uint32_t rowBytes = (image.width * bits * samples + 7) / 8;
    const uint32_t rowsPerStrip = image.rowsPerStrip ? image.rowsPerStrip : image.height;
    std::vector<uint32_t> offsets, counts;
    const bool split = image.compression == 1;
    for (uint32_t row = 0; split && row < image.height; row += rowsPerStrip) {
        const uint32_t rows = std::min(rowsPerStrip, image.height - row);
        offsets.push_back(builder.add(image.data.mid(qsizetype(row) * rowBytes, qsizetype(rows) * rowBytes)));
        counts.push_back(uint32_t(std::min<qsizetype>(qsizetype(rows) * rowBytes, image.data.size() - qsizetype(row) * rowBytes)));
    }
    if (!split) {
        offsets.push_back(builder.add(image.data));
        counts.push_back(uint32_t(image.data.size()));
    }
    std::vector<TiffBuilder::Entry> entries{
        {256, 4, 1, image.width},
        {257, 4, 1, image.height},
    };
    if (image.bits.size() == 1)
        entries.push_back({258, 3, 1, image.bits.front()});
    else if (!image.bits.empty())
        entries.push_back({258, 3, uint32_t(image.bits.size()), builder.addShorts(image.bits)});
    entries.push_back({259, 3, 1, image.compression});
    entries.push_back({262, 3, 1, image.photometric});
    entries.push_back({273, 4, uint32_t(offsets.size()), offsets.size() == 1 ? offsets.front() : builder.addLongs(offsets)});
    entries.push_back({277, 3, 1, samples});
    entries.push_back({278, 4, 1, rowsPerStrip});
    entries.push_back({279, 4, uint32_t(counts.size()), counts.size() == 1 ? counts.front() : builder.addLongs(counts)});
    if (!image.colourMap.empty())
        entries.push_back({320, 3, uint32_t(image.colourMap.size()), builder.addShorts(image.colourMap)});
    return builder.addDirectory(entries, next);
}

QByteArray tiffOf(const TestImage& image, bool bigEndian)
{
    TiffBuilder builder(bigEndian);
    addImage(builder, image);
    return builder.bytes();
}
