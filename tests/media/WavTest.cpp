// Wave files: the canonical 44-byte header, the chunk layouts other writers use, and the
// files that are not plain PCM.
#include "AudioBytes.h"
#include "ReadBytes.h"

#include "media/TWAVFile.h"

#include <gtest/gtest.h>

using namespace audiobytes;
using media::TWAVFile;

TEST(Wav, PlainPcmLayouts)
{
    struct Case {
        const char* name;
        Wave wave;
        double duration;
    };
    Wave canonical;
    Wave mono8;
    mono8.channels = 1;
    mono8.bitsPerSample = 8;
    mono8.sampleRate = 8000;
    mono8.dataBytes = 28000;
    Wave fmt18 = canonical;
    fmt18.fmtSize = 18;
    Wave listChunk = canonical;
    listChunk.chunksBeforeData = riffChunk("LIST", QByteArray("INFOISFT\x05\0\0\0Lavf\0", 17));
    Wave leadingChunk = canonical;
    leadingChunk.chunksBeforeFormat = riffChunk("JUNK", QByteArray(27, '\0'));
    Wave extensible = canonical;
    extensible.fmtSize = 40;
    extensible.formatTag = 0xFFFE;
    Wave cutShort = canonical;
    cutShort.writtenDataBytes = 44100;
    const QList<Case> cases = {
        {"canonical 44-byte header", canonical, 1.0},
        {"8-bit mono", mono8, 3.5},
        {"format chunk of 18 bytes", fmt18, 1.0},
        {"LIST chunk before the data", listChunk, 1.0},
        {"odd-sized chunk before the format", leadingChunk, 1.0},
        {"a recording cut short: only the bytes present count", cutShort, 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.wave.build();
        TWAVFile wav;
        ASSERT_TRUE(readBytes(wav, bytes));
        EXPECT_TRUE(wav.Valid()) << wav.errorString().toStdString();
        EXPECT_EQ(wav.ChannelModeID(), c.wave.channels);
        EXPECT_EQ(wav.ChannelMode(), c.wave.channels == 1 ? "Mono" : "Stereo");
        EXPECT_EQ(wav.SampleRate(), c.wave.sampleRate);
        EXPECT_EQ(wav.BitsPerSample(), c.wave.bitsPerSample);
        EXPECT_EQ(wav.FileSize(), uint32_t(bytes.size()));
        EXPECT_DOUBLE_EQ(wav.Duration(), c.duration);
    }
    // WAVE_FORMAT_EXTENSIBLE is PCM when its sub-format says so.
    QByteArray bytes = extensible.build();
    bytes[12 + 8 + 24] = 1; // first byte of the sub-format GUID: PCM
    TWAVFile wav;
    ASSERT_TRUE(readBytes(wav, bytes));
    EXPECT_TRUE(wav.Valid());
    bytes[12 + 8 + 24] = 3; // IEEE float
    ASSERT_TRUE(readBytes(wav, bytes));
    EXPECT_FALSE(wav.Valid());
}

TEST(Wav, FilesThatAreNotPlainPcmAreNotValid)
{
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    Wave adpcm;
    adpcm.formatTag = 2;
    Wave surround;
    surround.channels = 6;
    Wave silentRate;
    silentRate.sampleRate = 0;
    Wave noBits;
    noBits.bitsPerSample = 0;
    Wave shortFormat;
    shortFormat.fmtSize = 14;
    QByteArray notWave = Wave().build();
    notWave.replace(8, 4, "AVI ");
    QByteArray dataFirst = "RIFF" + le32(100) + "WAVE" + riffChunk("data", QByteArray(40, '\0'))
                         + riffChunk("fmt ", Wave().build().mid(20, 16));
    const QList<Case> cases = {
        {"ADPCM", adpcm.build()},
        {"six channels", surround.build()},
        {"sample rate 0", silentRate.build()},
        {"0 bits per sample", noBits.build()},
        {"format chunk shorter than 16 bytes", shortFormat.build()},
        {"not WAVE", notWave},
        {"data before format", dataFirst},
        {"no data chunk", Wave().build().left(36) + QByteArray(20, '\0')},
        {"chunk size past the end", Wave().build().left(36) + "LIST" + le32(0xFFFFFFF0) + QByteArray(30, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWAVFile wav;
        EXPECT_TRUE(readBytes(wav, c.bytes));
        EXPECT_FALSE(wav.Valid());
        EXPECT_EQ(wav.Duration(), 0);
        EXPECT_EQ(wav.SampleRate(), 0u) << "an invalid file leaves the cleared state";
        EXPECT_FALSE(wav.errorString().isEmpty());
    }
    TWAVFile tooShort;
    EXPECT_FALSE(readBytes(tooShort, Wave().build().left(43)));
}
