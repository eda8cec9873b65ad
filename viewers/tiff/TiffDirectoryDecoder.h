#pragma once
// Decodes one image file directory into a QImage: checks the tags, builds the colour
// table, gathers (and if need be decompresses) the strips and lays out the rows. It shows
// nothing itself; what went wrong comes back as the message the reader shows.

#include "viewers/ViewerStatus.h"
#include "viewers/tiff/TiffFormat.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

class TGraphicTiff;

struct TiffDecodeOutcome {
    enum Status {
        Decoded,      // image holds the picture
        Skipped,      // message says why; the reader goes on with the next directory
        StopFile,     // message says why; no further directory of the file is decoded
        RangeError,   // message says why; decoding ends and the caller is told
    };
    Status status = Skipped;
    QImage image;
    QString message;
};

class TiffDirectoryDecoder {
public:
    // Widths and heights above this are out of range.
    static constexpr uint32_t MaxDimension = 65535;

    explicit TiffDirectoryDecoder(const TGraphicTiff& directory);

    TiffDecodeOutcome decode();

private:
    enum class Kind { Bilevel, Gray, Palette, Rgb };

    struct Layout {
        Kind kind = Kind::Bilevel;
        uint32_t photometric = 0;
        uint32_t width = 0;
        uint32_t height = 0;
        uint32_t compression = 1;
        uint32_t bits = 1;
        uint32_t samples = 1;
        qsizetype rowBytes = 0;
    };

    TiffDecodeOutcome readLayout();
    TiffDecodeOutcome readSampleFormat();
    // These fail with the message the reader shows for the directory.
    ViewerStatus readColourTable();
    ViewerStatus readImageData(QByteArray& data) const;
    ViewerStatus readStrips(QByteArray& data, qsizetype needed) const;
    QImage buildImage(const QByteArray& data) const;
    QString compressedMessage() const;

    const TGraphicTiff& m_directory;
    Layout m_layout;
    std::array<uint16_t, 256> m_red{};
    std::array<uint16_t, 256> m_green{};
    std::array<uint16_t, 256> m_blue{};
};
