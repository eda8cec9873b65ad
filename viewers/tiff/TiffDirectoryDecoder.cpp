#include "viewers/tiff/TiffDirectoryDecoder.h"

#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"
#include "viewers/tiff/TiffDecompress.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

const QString ReadImageDataError = QStringLiteral("Error reading image data");

TiffDecodeOutcome outcome(TiffDecodeOutcome::Status status, const QString& message)
{
    TiffDecodeOutcome result;
    result.status = status;
    result.message = message;
    return result;
}

TiffDecodeOutcome skip(const QString& message)
{
    return outcome(TiffDecodeOutcome::Skipped, message);
}

// Returned by the checking steps when the directory passed them.
TiffDecodeOutcome carryOn()
{
    return outcome(TiffDecodeOutcome::Decoded, QString());
}

} // namespace

TiffDirectoryDecoder::TiffDirectoryDecoder(const TGraphicTiff& directory)
    : m_directory(directory)
{
}

TiffDecodeOutcome TiffDirectoryDecoder::decode()
{
    for (int i = 0; i < 256; ++i)
        m_red[i] = m_green[i] = m_blue[i] = uint16_t(i);
    TiffDecodeOutcome checked = readLayout();
    if (checked.status != TiffDecodeOutcome::Decoded)
        return checked;
    checked = readSampleFormat();
    if (checked.status != TiffDecodeOutcome::Decoded)
        return checked;
    if (const ViewerStatus table = readColourTable(); !table)
        return skip(table.errorString());
    try {
        QByteArray data;
        if (const ViewerStatus read = readImageData(data); !read)
            return skip(read.errorString());
        TiffDecodeOutcome result = carryOn();
        result.image = buildImage(data);
        if (result.image.isNull())
            return skip(QStringLiteral("Out Of Memory "));
        return result;
    } catch (const std::bad_alloc&) {
        return skip(QStringLiteral("Out Of Memory "));
    }
}

TiffDecodeOutcome TiffDirectoryDecoder::readLayout()
{
    const auto photometric = m_directory.value(tiff::Photometric);
    if (!photometric)
        return outcome(TiffDecodeOutcome::StopFile, QStringLiteral("Error reading tag Photometric interpretation"));
    if (*photometric > 3)
        return outcome(TiffDecodeOutcome::StopFile,
                       QStringLiteral("Error evaluating Photometric interpretation: ") + QString::number(*photometric));
    m_layout.photometric = *photometric;
    const auto bits = m_directory.value(tiff::BitsPerSample);
    if (*photometric <= 1) {
        if (!bits || *bits == 1) {
            m_layout.kind = Kind::Bilevel;
        } else if (*bits == 2 || *bits == 4 || *bits == 8) {
            m_layout.kind = Kind::Gray;
        } else {
            return skip(QStringLiteral("Error: Bits Per Sample (Gray) not 2, 4 or 8"));
        }
    } else {
        m_layout.kind = *photometric == 2 ? Kind::Rgb : Kind::Palette;
    }

    const auto width = m_directory.value(tiff::ImageWidth);
    if (!width || *width == 0)
        return skip(QStringLiteral("Error reading tag Image Width"));
    if (*width > MaxDimension)
        return outcome(TiffDecodeOutcome::RangeError, QStringLiteral("its width %1 is out of range").arg(*width));
    const auto height = m_directory.value(tiff::ImageLength);
    if (!height || *height == 0)
        return skip(QStringLiteral("Error reading tag Image Height"));
    if (*height > MaxDimension)
        return outcome(TiffDecodeOutcome::RangeError, QStringLiteral("its height %1 is out of range").arg(*height));
    const auto compression = m_directory.value(tiff::Compression);
    if (!compression)
        return skip(QStringLiteral("Error reading tag Compression"));
    m_layout.width = *width;
    m_layout.height = *height;
    m_layout.compression = *compression;
    m_layout.bits = bits.value_or(1);
    if (!tiff::canDecompress(*compression))
        return skip(compressedMessage());
    if ((m_layout.kind == Kind::Palette || m_layout.kind == Kind::Rgb) && !bits)
        return skip(QStringLiteral("Error reading tag Bits Per Sample"));
    return carryOn();
}

TiffDecodeOutcome TiffDirectoryDecoder::readSampleFormat()
{
    Layout& l = m_layout;
    if (l.kind == Kind::Rgb) {
        // One value stands for all three samples; otherwise each sample has its own.
        const tiff::Entry* entry = m_directory.findEntry(tiff::BitsPerSample);
        const auto all = entry->count == 1 ? std::optional(std::vector<uint32_t>(3, l.bits)) : m_directory.values(*entry);
        if (!all || all->size() < 3 || (*all)[0] != 8 || (*all)[1] != 8 || (*all)[2] != 8)
            return skip(QStringLiteral("Error: Bits Per Sample (RGB) not 8"));
    } else if (l.kind == Kind::Palette && l.bits != 1 && l.bits != 2 && l.bits != 4 && l.bits != 8) {
        return skip(QStringLiteral("Error: Bits Per Sample (Palette) not 1, 2, 4 or 8"));
    }
    l.samples = m_directory.value(tiff::SamplesPerPixel).value_or(l.kind == Kind::Rgb ? 3 : 1);
    // Extra samples (alpha) after the colour ones are stepped over; they need whole bytes.
    const uint32_t colourSamples = l.kind == Kind::Rgb ? 3 : 1;
    if (l.samples < colourSamples || (l.samples > 1 && l.bits != 8) || l.samples > 16)
        return skip(QStringLiteral("Error: Samples Per Pixel %1 not supported").arg(l.samples));
    if (l.samples > 1 && m_directory.value(tiff::PlanarConfiguration).value_or(1) != 1)
        return skip(QStringLiteral("Error: Planar Configuration not supported"));
    // Differencing is defined for 8-bit samples here; other predictors are not decoded.
    const uint32_t predictor = m_directory.value(tiff::Predictor).value_or(1);
    if (l.compression != tiff::NoCompression && predictor != 1 && (predictor != 2 || l.bits != 8))
        return skip(compressedMessage());
    l.rowBytes = qsizetype((uint64_t(l.width) * l.bits * l.samples + 7) / 8);
    return carryOn();
}

ViewerStatus TiffDirectoryDecoder::readColourTable()
{
    auto set = [this](int i, uint16_t r, uint16_t g, uint16_t b) {
        m_red[i] = r;
        m_green[i] = g;
        m_blue[i] = b;
    };
    const bool whiteIsZero = m_layout.photometric == 0;
    switch (m_layout.kind) {
    case Kind::Bilevel:
        set(0, whiteIsZero ? 255 : 0, whiteIsZero ? 255 : 0, whiteIsZero ? 255 : 0);
        set(1, whiteIsZero ? 0 : 255, whiteIsZero ? 0 : 255, whiteIsZero ? 0 : 255);
        break;
    case Kind::Gray: {
        const int levels = 1 << m_layout.bits;
        for (int i = 0; i < levels; ++i) {
            const auto v = uint16_t(i * 255 / (levels - 1));
            const auto shown = uint16_t(whiteIsZero ? 255 - v : v);
            set(i, shown, shown, shown);
        }
        break;
    }
    case Kind::Palette: {
        const tiff::Entry* map = m_directory.findEntry(tiff::ColorMap);
        if (!map)
            return ViewerStatus::failure(QStringLiteral("Error reading tag Color Table Offset"));
        // A map of no colours or of more than 256 leaves the identity table.
        const uint32_t n = map->count / 3;
        if (n == 0 || n > 256)
            break;
        const auto values = m_directory.values(*map);
        if (!values)
            return ViewerStatus::failure(QStringLiteral("Error reading tag Color Table Offset"));
        // Each 16-bit value scaled to 8 bits as libtiff scales it: the high byte for a map
        // written from 8-bit colours (v * 257), and never a step too bright for another.
        auto to8 = [](uint32_t v) { return uint16_t(v / 257); };
        for (uint32_t i = 0; i < n; ++i)
            set(int(i), to8((*values)[i]), to8((*values)[n + i]), to8((*values)[2 * n + i]));
        break;
    }
    case Kind::Rgb:
        break;
    }
    return ViewerStatus();
}

ViewerStatus TiffDirectoryDecoder::readImageData(QByteArray& data) const
{
    const uint64_t needed = uint64_t(m_layout.rowBytes) * m_layout.height;
    // Data larger than the file could ever hold is refused before a buffer is sized for it.
    const uint64_t fileSize = m_directory.owner().fileSize();
    if (m_directory.stripCount() == 0 || needed / tiff::maxExpansion(m_layout.compression) > fileSize)
        return ViewerStatus::failure(ReadImageDataError);
    if (const ViewerStatus read = readStrips(data, qsizetype(needed)); !read)
        return read;
    if (m_layout.compression != tiff::NoCompression && m_directory.value(tiff::Predictor).value_or(1) == 2)
        tiff::undoHorizontalDifferencing(data.data(), m_layout.rowBytes, m_layout.height, int(m_layout.samples));
    return ViewerStatus();
}

ViewerStatus TiffDirectoryDecoder::readStrips(QByteArray& data, qsizetype needed) const
{
    // Uncompressed strips are joined in table order; a compressed strip decodes to its own
    // rows (RowsPerStrip of them, the last strip fewer).
    const bool compressed = m_layout.compression != tiff::NoCompression;
    uint32_t rowsPerStrip = m_directory.value(tiff::RowsPerStrip).value_or(m_layout.height);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, m_layout.height);
    const qsizetype stripBytes = qsizetype(rowsPerStrip) * m_layout.rowBytes;
    const TFileTiff& file = m_directory.owner();
    for (int i = 0; i < m_directory.stripCount() && data.size() < needed; ++i) {
        const TiffStrip strip = *m_directory.strip(i);
        const qsizetype limit = compressed ? std::min(stripBytes, needed - data.size()) : needed - data.size();
        // No more of a strip is read than its rows can take: compressed data of any of the
        // schemes is at most about one and a half times the bytes it stands for.
        const uint64_t useful = compressed ? uint64_t(limit) * 2 + 1024 : uint64_t(limit);
        QByteArray raw;
        if (!file.readAt(strip.offset, std::min<uint64_t>(strip.byteCount, useful), raw))
            return ViewerStatus::failure(ReadImageDataError);
        const qsizetype before = data.size();
        if (!tiff::decompressStrip(m_layout.compression, raw, data, limit)
            || (compressed && data.size() - before < limit))
            return ViewerStatus::failure(ReadImageDataError);
    }
    return data.size() < needed ? ViewerStatus::failure(ReadImageDataError) : ViewerStatus();
}

QImage TiffDirectoryDecoder::buildImage(const QByteArray& data) const
{
    const Layout& l = m_layout;
    const auto* src = reinterpret_cast<const uchar*>(data.constData());
    const int w = int(l.width);
    const int h = int(l.height);
    if (l.kind == Kind::Rgb) {
        QImage image(w, h, QImage::Format_RGB888);
        for (int y = 0; !image.isNull() && y < h; ++y) {
            const uchar* row = src + qsizetype(y) * l.rowBytes;
            uchar* out = image.scanLine(y);
            if (l.samples == 3) {
                std::memcpy(out, row, size_t(w) * 3);
                continue;
            }
            for (int x = 0; x < w; ++x, row += l.samples, out += 3)
                std::memcpy(out, row, 3);
        }
        return image;
    }
    const int colours = 1 << l.bits;
    QList<QRgb> table(colours);
    for (int i = 0; i < colours; ++i)
        table[i] = qRgb(m_red[i] & 0xFF, m_green[i] & 0xFF, m_blue[i] & 0xFF);
    const bool packed = l.bits == 1;
    QImage image(w, h, packed ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    image.setColorTable(table);
    const int mask = colours - 1;
    for (int y = 0; y < h; ++y) {
        const uchar* row = src + qsizetype(y) * l.rowBytes;
        uchar* out = image.scanLine(y);
        if (packed) {
            std::memcpy(out, row, size_t(l.rowBytes));
        } else if (l.bits == 8) {
            for (int x = 0; x < w; ++x)
                out[x] = row[qsizetype(x) * l.samples];
        } else {
            for (int x = 0; x < w; ++x) {
                const int bit = x * int(l.bits);
                out[x] = uchar((row[bit >> 3] >> (8 - int(l.bits) - (bit & 7))) & mask);
            }
        }
    }
    return image;
}

QString TiffDirectoryDecoder::compressedMessage() const
{
    static const char* const kinds[] = {
        "Cant read compressed bilevel image",
        "Cant read compressed Gray Scale Image",
        "Cant read compressed ColorPaletImage",
        "Cant read compressed RGB Full Color Image",
    };
    return QString::fromLatin1(kinds[int(m_layout.kind)])
        + QStringLiteral("\r\rfeel free to implement this type of image\rand send your code to QuorVel");
}
