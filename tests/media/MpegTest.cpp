// MPEG audio: the frame header tables, the frame search (successor check, second search
// from the middle), VBR headers, the encoder search and the derived values.
#include "AudioBytes.h"
#include "ReadBytes.h"

#include "media/DurationText.h"
#include "media/MpegFrame.h"
#include "media/TMPEGaudio.h"

#include <gtest/gtest.h>

using namespace audiobytes;
using media::MpegFrame;
using media::TMPEGaudio;

namespace {

TMPEGaudio readMpeg(const QByteArray& bytes)
{
    TMPEGaudio mpeg;
    EXPECT_TRUE(readBytes(mpeg, bytes));
    return mpeg;
}

} // namespace

TEST(MpegFrame, HeaderTestAndFrameLengthsOfEveryVersion)
{
    struct Case {
        const char* name;
        uint8_t b1, b2, b3;
        int bitRate, sampleRate, length;
    };
    const QList<Case> cases = {
        {"MPEG 1 Layer III 128k 44.1k", 0xFB, 0x90, 0x00, 128, 44100, 417},
        {"MPEG 1 Layer III 128k 44.1k padded", 0xFB, 0x92, 0x00, 128, 44100, 418},
        {"MPEG 1 Layer II 384k 32k padded (the longest)", 0xFD, 0xEA, 0x00, 384, 32000, 1729},
        {"MPEG 1 Layer I 448k 32k padded", 0xFF, 0xEA, 0x00, 448, 32000, 676},
        {"MPEG 2 Layer III 64k 22.05k", 0xF3, 0x80, 0xC0, 64, 22050, 208},
        {"MPEG 2 Layer III 160k 16k", 0xF3, 0xE8, 0xC0, 160, 16000, 720},
        {"MPEG 2.5 Layer III 16k 8k", 0xE3, 0x28, 0xC0, 16, 8000, 144},
        {"MPEG 2.5 Layer III 32k 11.025k", 0xE3, 0x40, 0x00, 32, 11025, 208},
        {"MPEG 2 Layer I 256k 24k", 0xF7, 0xE4, 0x00, 256, 24000, 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(MpegFrame::isHeader(0xFF, c.b1, c.b2, c.b3));
        MpegFrame frame;
        frame.decode(0xFF, c.b1, c.b2, c.b3);
        EXPECT_EQ(frame.tableBitRate(), c.bitRate);
        EXPECT_EQ(frame.sampleRate(), c.sampleRate);
        EXPECT_EQ(frame.frameLength(), c.length);
    }
    const QList<std::array<uint8_t, 4>> rejected = {
        {0xFE, 0xFB, 0x90, 0x00}, // no sync byte
        {0xFF, 0xDB, 0x90, 0x00}, // sync bits incomplete
        {0xFF, 0xEB, 0x90, 0x00}, // reserved version
        {0xFF, 0xF9, 0x90, 0x00}, // reserved layer
        {0xFF, 0xFB, 0x00, 0x00}, // free bit rate
        {0xFF, 0xFB, 0xF0, 0x00}, // bad bit rate
        {0xFF, 0xFB, 0x9C, 0x00}, // reserved sample rate
        {0xFF, 0xFB, 0x90, 0x02}, // reserved emphasis
    };
    for (const auto& b : rejected)
        EXPECT_FALSE(MpegFrame::isHeader(b[0], b[1], b[2], b[3])) << int(b[1]) << " " << int(b[2]) << " " << int(b[3]);
}

TEST(MpegAudio, ConstantRateStreamAndItsDerivedValues)
{
    const QByteArray file = QByteArray(100, '\0') + cbrFrames(300, 1);
    const TMPEGaudio mpeg = readMpeg(file);
    ASSERT_TRUE(mpeg.Frame().Found);
    EXPECT_EQ(mpeg.Frame().Position, 100);
    EXPECT_EQ(mpeg.Frame().Size, CbrFrameSize);
    EXPECT_FALSE(mpeg.Frame().Empty);
    EXPECT_EQ(mpeg.Frame().Data, QByteArray("\xFF\xFB\x90\x40", 4));
    EXPECT_EQ(mpeg.Frame().VersionID, MpegFrame::MPEG1);
    EXPECT_EQ(mpeg.Frame().LayerID, MpegFrame::Layer3);
    EXPECT_EQ(mpeg.Frame().ProtectionBit, 0);
    EXPECT_EQ(mpeg.ChannelMode(), "Joint Stereo");
    EXPECT_EQ(mpeg.BitRate(), 128);
    EXPECT_EQ(mpeg.SampleRate(), 44100);
    EXPECT_EQ(mpeg.FileLength(), file.size());
    EXPECT_DOUBLE_EQ(mpeg.Duration(), 300.0 * CbrFrameSize * 8 / 128 / 1000);
    EXPECT_EQ(mpeg.DurationText(), "0:08");
    EXPECT_TRUE(mpeg.Valid());
    EXPECT_FALSE(mpeg.VBR().Found);
}

TEST(MpegAudio, AHeaderWithoutASuccessorIsPassedOver)
{
    // A header at 0 whose computed length lands on zeros, then the real stream at 500.
    QByteArray file = cbrFrames(1).left(4) + QByteArray(496, '\0') + cbrFrames(100);
    EXPECT_EQ(readMpeg(file).Frame().Position, 500);

    // A lone header at the last position searched is not taken either.
    file = QByteArray(TMPEGaudio::LongestFrame, '\0') + cbrFrames(1).left(4);
    EXPECT_FALSE(readMpeg(file).Frame().Found);
}

TEST(MpegAudio, ADamagedStartIsSearchedAgainInTheMiddleOfTheAudio)
{
    const QByteArray tag = id3v2Tag(3, frame23("TIT2", latin1Text("Damaged")));
    const QByteArray file = tag + QByteArray(20000, '\x11') + cbrFrames(60);
    const TMPEGaudio mpeg = readMpeg(file);
    ASSERT_TRUE(mpeg.Frame().Found);
    EXPECT_EQ(mpeg.ID3v2().Title(), "Damaged");
    // The middle of the audio lies inside the frames, so the search finds one within the
    // first frame's length.
    EXPECT_LT(mpeg.Frame().Position, CbrFrameSize);

    // No frame anywhere: everything is cleared, yet the read itself worked.
    const TMPEGaudio none = readMpeg(tag + QByteArray(20000, '\x11'));
    EXPECT_FALSE(none.Frame().Found);
    EXPECT_FALSE(none.ID3v2().Exists());
    EXPECT_FALSE(none.Valid());
    EXPECT_EQ(none.Duration(), 0);
}

TEST(MpegAudio, TagSizeLargerThanTheFileSearchesFromTheStart)
{
    QByteArray tag = id3v2Tag(3, frame23("TIT2", latin1Text("x")));
    tag.replace(6, 4, synchsafe(9000000));
    const TMPEGaudio mpeg = readMpeg(tag + cbrFrames(50));
    EXPECT_EQ(mpeg.ID3v2().Size(), 0);
    EXPECT_EQ(mpeg.Frame().Position, tag.size());
}

TEST(MpegAudio, VbrHeadersGiveFramesBytesAndTheirValues)
{
    struct Case {
        const char* name;
        QByteArray first;
        QByteArray id;
        int bitRate;
        uint8_t scale;
    };
    // 1000 frames of 1152 samples at 44.1 kHz: 26.12 s.
    const QList<Case> cases = {
        // (522500 / 1000 - 0) * 44100 / 144 / 1000 = 160.02
        {"Xing", xingFrame(1000, 522500), "Xing", 160, 77},
        // Info leaves its own frame out of the bytes: (417417 - 417) / 1000 * 44100 / 144000 = 127.7
        {"Info", xingFrame(1000, 417417, "Info"), "Info", 128, 77},
        {"VBRI", vbriFrame(1000, 522500), "VBRI", 160, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TMPEGaudio mpeg = readMpeg(c.first + cbrFrames(40));
        ASSERT_TRUE(mpeg.VBR().Found);
        EXPECT_EQ(mpeg.VBR().ID, c.id);
        EXPECT_EQ(mpeg.VBR().Frames, 1000);
        EXPECT_EQ(mpeg.VBR().Scale, c.scale);
        EXPECT_EQ(mpeg.BitRate(), c.bitRate);
        EXPECT_NEAR(mpeg.Duration(), 1000.0 * 1152 / 44100, 1e-9);
        EXPECT_EQ(mpeg.DurationText(), "0:26");
        EXPECT_TRUE(mpeg.Encoder().isEmpty()) << "no encoder search with a VBR header";
    }
    EXPECT_EQ(readMpeg(xingFrame(1000, 522500) + cbrFrames(4)).VBR().VendorID, "LAME3.99");

    // A Xing header without the frame count falls back to the frame's own rate.
    QByteArray partial = xingFrame(0, 0);
    partial.replace(36 + 4, 4, be32(0x02));
    EXPECT_EQ(readMpeg(partial + cbrFrames(40)).BitRate(), 128);
}

TEST(MpegAudio, EncoderNameNearTheEnd)
{
    struct Case {
        const char* name;
        QByteArray tail;
        QString encoder;
    };
    const QByteArray v1 = id3v1Tag("t", "a", "b", "2000", "c", 0, 1, 0);
    const QList<Case> cases = {
        {"LAME", QByteArray("LAME3.100") + QByteArray(30, '\x55'), "LAME3.10"},
        {"GOGO", QByteArray("GOGO-NO-CODER") + QByteArray(30, '\x55'), "GOGO"},
        {"LAME before an ID3v1 tag", QByteArray("LAME3.97") + QByteArray(30, '\x55') + v1, "LAME3.97"},
        {"none", QByteArray(30, '\x55'), ""},
        {"too far back", QByteArray("LAME3.90") + QByteArray(2 * CbrFrameSize + 20, '\x55'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readMpeg(cbrFrames(30) + c.tail).Encoder(), c.encoder);
    }
    // A file shorter than the tail that is searched still has its end searched.
    EXPECT_EQ(readMpeg(cbrFrames(3) + "LAME3.99").Encoder(), "LAME3.99");
}

TEST(MpegAudio, ValidNeedsARealBitRateAndATenthOfASecond)
{
    EXPECT_FALSE(readMpeg(cbrFrames(3)).Valid()) << "3 frames last 0.078 s";
    EXPECT_TRUE(readMpeg(cbrFrames(4)).Valid()) << "4 frames last 0.104 s";
    // A Xing header claiming an impossible size gives an impossible rate.
    EXPECT_FALSE(readMpeg(xingFrame(10, 4000000000u) + cbrFrames(10)).Valid());

    TMPEGaudio tiny;
    EXPECT_FALSE(readBytes(tiny, QByteArray("\xFF\xFB\x90")));
    TMPEGaudio missing;
    EXPECT_FALSE(missing.ReadFromFile(QStringLiteral("/nonexistent/file.mp3")));
    EXPECT_FALSE(missing.errorString().isEmpty());
}

TEST(DurationText, MinutesOrHoursFromRoundedSeconds)
{
    const QList<std::pair<double, QString>> cases = {
        {0, "0:00"},       {0.5, "0:00"},     {1.5, "0:02"},       {59.5, "1:00"},
        {60.5, "1:00"},    {61.49, "1:01"},   {3599.4, "59:59"},   {3599.5, "1:00:00"},
        {3661, "1:01:01"}, {36000, "10:00:00"}, {-5, "0:00"},     {std::nan(""), "0:00"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(media::formatDurationText(seconds), text) << seconds;
}
