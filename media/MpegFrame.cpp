#include "media/MpegFrame.h"

namespace media {

namespace {

// kbit/s by index 0..15; index 0 ("free") and 15 (bad) give 0.
constexpr int bitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // MPEG 1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // MPEG 1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // MPEG 1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},    // MPEG 2/2.5 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},         // MPEG 2/2.5 Layer II and III
};

// Hz by version (2.5, reserved, 2, 1) and index 0..3.
constexpr int sampleRates[4][4] = {
    {11025, 12000, 8000, 0},
    {0, 0, 0, 0},
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};

} // namespace

bool MpegFrame::isHeader(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return b0 == 0xFF && b1 >= 0xE0 && ((b1 >> 3) & 3) != 1 && (b1 & 6) != 0 && b2 < 0xF0
        && b2 > 0x0F && ((b2 >> 2) & 3) != 3 && (b3 & 3) != 2;
}

void MpegFrame::decode(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    const char bytes[] = {char(b0), char(b1), char(b2), char(b3)};
    Data = QByteArray(bytes, 4);
    VersionID = (b1 >> 3) & 3;
    LayerID = (b1 >> 1) & 3;
    ProtectionBit = (~b1) & 1;
    BitRateID = b2 >> 4;
    SampleRateID = (b2 >> 2) & 3;
    PaddingBit = (b2 >> 1) & 1;
    PrivateBit = b2 & 1;
    ModeID = b3 >> 6;
    ModeExtensionID = (b3 >> 4) & 3;
    CopyrightBit = (b3 >> 3) & 1;
    OriginalBit = (b3 >> 2) & 1;
    EmphasisID = b3 & 3;
}

int MpegFrame::tableBitRate() const
{
    if (VersionID == MPEGReserved || LayerID == 0 || LayerID > 3 || BitRateID > 15)
        return 0;
    if (VersionID == MPEG1)
        return bitRates[Layer1 - LayerID][BitRateID];
    return bitRates[LayerID == Layer1 ? 3 : 4][BitRateID];
}

int MpegFrame::sampleRate() const
{
    if (VersionID > 3 || SampleRateID > 3)
        return 0;
    return sampleRates[VersionID][SampleRateID];
}

int MpegFrame::coefficient() const
{
    if (LayerID == Layer1)
        return 48;
    if (LayerID == Layer3 && VersionID != MPEG1)
        return 72;
    return 144;
}

int MpegFrame::padding() const
{
    if (!PaddingBit)
        return 0;
    return LayerID == Layer1 ? 4 : 1;
}

int MpegFrame::frameLength() const
{
    const int rate = sampleRate();
    if (rate == 0)
        return 0;
    const qint64 length = qint64(coefficient()) * tableBitRate() * 1000 / rate + padding();
    return uint16_t(length);
}

} // namespace media
