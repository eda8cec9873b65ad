// The audio information record: which reader fills which field for each kind of file, and
// `fvtool audioinfo`, which prints it.
#include "AudioBytes.h"

#include "support/TempHome.h"

#include "media/AudioInfoReader.h"
#include "platform/FileName.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

using namespace audiobytes;

namespace {

// The record of one file, or nothing with the reader's message in *error.
std::optional<media::AudioInfo> ReadAudioInfo(const QString& path, QString* error = nullptr)
{
    media::AudioInfoReader reader;
    if (reader.read(path))
        return reader.info();
    if (error)
        *error = reader.errorString();
    return std::nullopt;
}

class AudioInfoTest : public TempHomeTest {};

QByteArray mp3(const QByteArray& v2Frames, const QByteArray& v1 = QByteArray())
{
    const QByteArray tag = v2Frames.isEmpty() ? QByteArray() : id3v2Tag(3, v2Frames);
    return tag + cbrFrames(400) + v1;
}

} // namespace

TEST_F(AudioInfoTest, Mp3FieldsPreferTheID3v2TagThenID3v1ThenTheFileName)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QString title, artist, year, genre, track;
    };
    const QByteArray v1 = id3v1Tag("V1 Title", "V1 Artist", "V1 Album", "1970", "", 0, 5, 8);
    const QList<Case> cases = {
        {"both tags", mp3(frame23("TIT2", latin1Text("V2 Title")) + frame23("TRCK", latin1Text("7/9"))
                              + frame23("TCON", latin1Text("(17)")), v1),
         "V2 Title", "V1 Artist", "1970", "Rock", "07"},
        {"ID3v1 only", mp3(QByteArray(), v1), "V1 Title", "V1 Artist", "1970", "Jazz", "05"},
        {"no tags", mp3(QByteArray()), "my.song", "", "", "", ""},
        {"track beyond a byte keeps its low 8 bits", mp3(frame23("TRCK", latin1Text("300"))), "my.song", "", "", "", "44"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = makeFile(QStringLiteral("my.song.MP3"), c.bytes);
        const auto info = ReadAudioInfo(path);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->path, path);
        EXPECT_EQ(info->title, c.title);
        EXPECT_EQ(info->artist, c.artist);
        EXPECT_EQ(info->year, c.year);
        EXPECT_EQ(info->genre, c.genre);
        EXPECT_EQ(info->track, c.track);
        EXPECT_EQ(info->bitrate, "128");
        EXPECT_EQ(info->sampleRate, "44100");
        EXPECT_EQ(info->channelMode, "Stereo");
        EXPECT_EQ(info->length, "0:10") << "400 frames of 417 bytes at 128 kbit/s: 10.4 s";
        EXPECT_EQ(info->seconds, "10");
        EXPECT_EQ(info->size, c.bytes.size());
    }
}

TEST_F(AudioInfoTest, OtherKindsAndRefusedFiles)
{
    Wave wave;
    wave.dataBytes = 176400 * 3 + 100;
    auto info = ReadAudioInfo(makeFile(QStringLiteral("take.wav"), wave.build()));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->title, "take");
    EXPECT_EQ(info->artist, "");
    EXPECT_EQ(info->length, "0:03");
    EXPECT_EQ(info->seconds, "3");
    EXPECT_EQ(info->sampleRate, "44100");
    EXPECT_EQ(info->channelMode, "Stereo");
    EXPECT_EQ(info->bitrate, "");

    info = ReadAudioInfo(makeFile(QStringLiteral("notes.txt"), "not audio"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->title, "notes");
    EXPECT_EQ(info->size, 9);
    EXPECT_EQ(info->length, "");

    const QList<std::pair<QString, QByteArray>> refused = {
        {QStringLiteral("noise.mp3"), QByteArray(5000, '\x11')},
        {QStringLiteral("float.wav"), [] { Wave w; w.formatTag = 3; return w.build(); }()},
        {QStringLiteral("text.wma"), QByteArray("hello")},
    };
    for (const auto& [name, bytes] : refused) {
        QString error;
        const QString path = makeFile(name, bytes);
        EXPECT_FALSE(ReadAudioInfo(path, &error).has_value()) << name.toStdString();
        EXPECT_TRUE(error.startsWith(path)) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(ReadAudioInfo(makeFolder(QStringLiteral("folder.mp3")), &error).has_value());
    EXPECT_TRUE(error.endsWith("not a regular file")) << error.toStdString();
}

TEST_F(AudioInfoTest, NameThatIsNotUtf8IsReadByItsBytes)
{
    // A Latin-1 name: its text carries the byte as an escape, and the reader must open the
    // file with the same byte.
    const QByteArray path = FileName::encode(home().root()) + "/caf\xe9.mp3";
    const QByteArray bytes = mp3(frame23("TIT2", latin1Text("Song")));
    std::FILE* raw = std::fopen(path.constData(), "wb");
    ASSERT_NE(raw, nullptr);
    ASSERT_EQ(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), raw), size_t(bytes.size()));
    std::fclose(raw);
    QString error;
    const auto info = ReadAudioInfo(FileName::decode(path), &error);
    ASSERT_TRUE(info.has_value()) << error.toStdString();
    EXPECT_EQ(info->title, "Song");
    EXPECT_EQ(info->size, bytes.size());
}

TEST_F(AudioInfoTest, FvtoolPrintsOneLinePerFileAndNamesTheFailures)
{
    const QString good = makeFile(QStringLiteral("good.mp3"),
                                  mp3(frame23("TIT2", latin1Text("Song")) + frame23("TPE1", latin1Text("Band\tof\nFour"))));
    const QString bad = makeFile(QStringLiteral("bad.mp3"), QByteArray(100, '\0'));
    QProcess tool;
    tool.start(qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/fvtool"),
               {QStringLiteral("audioinfo"), good, bad});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QStringList({good, "Song", "Band of Four", "", "", "", "", "128", "44100", "Stereo", "0:10"})
                            .join(QLatin1Char('\t')));
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains(bad));
}

TEST_F(AudioInfoTest, FvtoolReadsTheOpenFormatsThroughTheTagLibModule)
{
    // fvtool does not link TagLib: it loads the module from beside itself for this file.
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        FAIL() << "ffmpeg is part of the test tools (scripts/packages/media.txt)";
    const QString song = home().root() + QStringLiteral("/tone.flac");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                                            "sine=frequency=440:duration=2", "-metadata", "title=Tone", "-metadata",
                                            "artist=Maker", "-metadata", "track=7", song});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));
    ASSERT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().constData();
    QProcess tool;
    tool.start(qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/fvtool"), {QStringLiteral("audioinfo"), song});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    const QStringList fields = QString::fromUtf8(tool.readAllStandardOutput()).trimmed().split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 11);
    EXPECT_EQ(fields.mid(1, 2), (QStringList{"Tone", "Maker"}));
    EXPECT_EQ(fields[6], "07");
    EXPECT_EQ(fields[8], "44100");
    EXPECT_EQ(fields[10], "0:02");
}
