#pragma once
// One MPEG audio frame header (four bytes) and the values its fields stand for.

#include <QByteArray>

#include <cstdint>

namespace media {

struct MpegFrame {
    bool Found = false;
    int Position = 0;      // offset of the frame in the searched buffer
    uint16_t Size = 0;     // frame length in bytes
    bool Empty = false;    // the six bytes after the header are zero
    QByteArray Data;       // the four header bytes
    uint8_t VersionID = 1; // 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
    uint8_t LayerID = 0;   // 1 Layer III, 2 Layer II, 3 Layer I
    uint8_t ProtectionBit = 0;
    uint8_t BitRateID = 0;
    uint8_t SampleRateID = 3;
    uint8_t PaddingBit = 0;
    uint8_t PrivateBit = 0;
    uint8_t ModeID = 4;    // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono, 4 unknown
    uint8_t ModeExtensionID = 4;
    uint8_t CopyrightBit = 0;
    uint8_t OriginalBit = 0;
    uint8_t EmphasisID = 2;

    static constexpr uint8_t MPEG25 = 0, MPEGReserved = 1, MPEG2 = 2, MPEG1 = 3;
    static constexpr uint8_t Layer3 = 1, Layer2 = 2, Layer1 = 3;
    static constexpr uint8_t ModeMono = 3;

    // The header test: sync bits, no reserved version, layer, bit-rate index, sample-rate
    // index or emphasis.
    static bool isHeader(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
    // Fills the header fields from four bytes that passed the test.
    void decode(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);

    int tableBitRate() const;   // kbit/s, 0 for a free or bad index
    int sampleRate() const;     // Hz, 0 for a reserved index
    int coefficient() const;    // samples per frame divided by 8
    int padding() const;        // bytes the padding bit adds
    int frameLength() const;    // bytes, 0 when the sample rate is unknown
    bool isMono() const { return ModeID == ModeMono; }
};

} // namespace media
