// The readers against ffprobe, a reader no one here wrote, on files made by lame, ffmpeg,
// sox, id3v2 and mutagen (tests/media/make-media.sh): tags, bit rate, sample rate, channels
// and duration must agree.
#include "media/TMPEGaudio.h"
#include "media/TWAVFile.h"
#include "media/TWMAData.h"
#include "media/TWMAfile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct Probe {
    QJsonObject tags;
    int bitRate = 0;     // bit/s of the audio stream
    int sampleRate = 0;
    int channels = 0;
    double duration = 0;

    QString tag(const char* name) const { return tags.value(QLatin1String(name)).toString(); }
    QString year() const { return (tag("date").isEmpty() ? tag("WM/Year") : tag("date")).left(4); }
    QString track() const { return tag("track").section(QLatin1Char('/'), 0, 0); }
};

class FfprobeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        QProcess script;
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral("bash"), {qEnvironmentVariable("FOLVANE_SOURCE_DIR") + QStringLiteral("/tests/media/make-media.sh"),
                                              s_dir->path()});
        s_made = script.waitForFinished(240000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
        s_log = QString::fromLocal8Bit(script.readAll());
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override { ASSERT_TRUE(s_made) << "make-media.sh failed:\n" << s_log.toStdString(); }

    static QString path(const char* name) { return s_dir->filePath(QString::fromLatin1(name)); }

    static Probe probe(const QString& file)
    {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"), {"-v", "error", "-print_format", "json", "-show_format", "-show_streams", file});
        EXPECT_TRUE(ffprobe.waitForFinished(30000));
        const QJsonObject root = QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
        const QJsonObject format = root.value("format").toObject();
        const QJsonObject stream = root.value("streams").toArray().first().toObject();
        Probe result;
        result.tags = format.value("tags").toObject();
        result.bitRate = stream.value("bit_rate").toString().toInt();
        result.sampleRate = stream.value("sample_rate").toString().toInt();
        result.channels = stream.value("channels").toInt();
        result.duration = format.value("duration").toString().toDouble();
        EXPECT_GT(result.duration, 0) << file.toStdString();
        return result;
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static bool s_made;
    static QString s_log;
};

std::unique_ptr<QTemporaryDir> FfprobeTest::s_dir;
bool FfprobeTest::s_made = false;
QString FfprobeTest::s_log;

// Durations agree within 1 % or one frame, whichever is more.
void expectDuration(double ours, double theirs, double frameSeconds)
{
    EXPECT_NEAR(ours, theirs, std::max(theirs * 0.01, frameSeconds));
}

QString channelName(int channels)
{
    return channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo");
}

} // namespace

TEST_F(FfprobeTest, Mp3FilesAgree)
{
    struct Case {
        const char* file;
        bool tagged;
        bool variableRate;
    };
    const QList<Case> cases = {
        {"cbr128.mp3", true, false},      {"vbr44.mp3", true, true},
        {"mpeg2mono.mp3", true, false},   {"mpeg2vbr.mp3", true, true},
        {"mpeg25_8k.mp3", true, false},   {"mpeg25_11k.mp3", true, false},
        {"mpeg1_32k.mp3", true, false},   {"vbr48mono.mp3", true, true},
        {"layer2.mp3", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Probe expected = probe(path(c.file));
        media::TMPEGaudio mpeg;
        ASSERT_TRUE(mpeg.ReadFromFile(path(c.file))) << mpeg.errorString().toStdString();
        ASSERT_TRUE(mpeg.Valid());
        const media::TID3v2& tag = mpeg.ID3v2();
        EXPECT_EQ(tag.Title(), expected.tag("title"));
        EXPECT_FALSE(tag.Title().isEmpty());
        EXPECT_EQ(tag.Artist(), expected.tag("artist"));
        if (c.tagged) {
            EXPECT_FALSE(tag.Album().isEmpty());
            EXPECT_EQ(tag.Album(), expected.tag("album"));
            EXPECT_EQ(tag.Year(), expected.year());
            EXPECT_EQ(QString::number(tag.Track()), expected.track());
        }
        if (!expected.tag("genre").isEmpty()) {
            EXPECT_EQ(tag.Genre(), expected.tag("genre"));
        }
        EXPECT_EQ(mpeg.SampleRate(), expected.sampleRate);
        EXPECT_EQ(mpeg.Frame().isMono(), expected.channels == 1);
        if (c.variableRate) {
            EXPECT_TRUE(mpeg.VBR().Found);
            EXPECT_NEAR(mpeg.BitRate() * 1000.0, expected.bitRate, std::max(1000.0, expected.bitRate * 0.01));
        } else {
            EXPECT_EQ(mpeg.BitRate() * 1000, expected.bitRate);
        }
        const double frameSeconds = mpeg.Frame().coefficient() * 8.0 / mpeg.SampleRate();
        expectDuration(mpeg.Duration(), expected.duration, frameSeconds);
    }
}

TEST_F(FfprobeTest, WavFilesAgree)
{
    for (const char* file : {"stereo16.wav", "mono8.wav", "stereo24.wav", "listchunk.wav"}) {
        SCOPED_TRACE(file);
        const Probe expected = probe(path(file));
        media::TWAVFile wav;
        ASSERT_TRUE(wav.ReadFromFile(path(file)));
        ASSERT_TRUE(wav.Valid()) << wav.errorString().toStdString();
        EXPECT_EQ(int(wav.SampleRate()), expected.sampleRate);
        EXPECT_EQ(wav.ChannelMode(), channelName(expected.channels));
        EXPECT_EQ(int(wav.SampleRate()) * wav.BitsPerSample() * wav.ChannelModeID(), expected.bitRate);
        expectDuration(wav.Duration(), expected.duration, 0);
    }
}

TEST_F(FfprobeTest, WmaFilesAgree)
{
    for (const char* file : {"stereo128.wma", "mono48.wma"}) {
        SCOPED_TRACE(file);
        const Probe expected = probe(path(file));
        media::TWMAData data;
        ASSERT_TRUE(data.ReadFromFile(path(file))) << data.errorString().toStdString();
        const media::TTagsData& tags = data.Tags();
        EXPECT_FALSE(tags.Title.isEmpty());
        EXPECT_EQ(tags.Title, expected.tag("title"));
        EXPECT_EQ(tags.Author, expected.tag("artist"));
        EXPECT_EQ(tags.AlbumTitle, expected.tag("album"));
        EXPECT_EQ(tags.Year, expected.year());
        EXPECT_EQ(tags.TrackNumber, expected.track());
        EXPECT_EQ(tags.Genre, expected.tag("genre"));
        expectDuration(tags.Duration / 1000.0, expected.duration, 0);

        media::TWMAfile wma;
        ASSERT_TRUE(wma.ReadFromFile(path(file))) << wma.errorString().toStdString();
        ASSERT_TRUE(wma.Valid());
        EXPECT_EQ(wma.BitRate() * 1000, expected.bitRate);
        EXPECT_EQ(wma.SampleRate(), expected.sampleRate);
        EXPECT_EQ(wma.ChannelMode(), channelName(expected.channels));
        EXPECT_EQ(wma.Title(), expected.tag("title"));
        EXPECT_EQ(wma.Artist(), expected.tag("artist"));
        expectDuration(wma.Duration(), expected.duration, 0);
    }
}
