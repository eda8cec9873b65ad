// The program's sound effects: the synthesised WAV files (their header fields and length),
// the files the build writes beside the program, and PlayProgramSound playing the file of a
// name from the program's folder only; sounds switched off or a missing file stay silent.
#include "app/ProgramSound.h"
#include "app/sounds/SoundSynth.h"

#ifdef FOLVANE_HAVE_MULTIMEDIA
#include "platform/media/QtMediaPlayer.h"
#endif

#include "support/FakeMediaPlayer.h"
#include "support/NullAudioSink.h"
#include "support/TempHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <cstdlib>

namespace {

const char* const kSounds[] = {"fv3start", "fv3end", "fv3plop", "fvplop"};

class SoundTest : public TempHomeTest {
protected:
    void TearDown() override
    {
        ProgramSound::finishPlaying(0);
        ProgramSound::setEnabled(true);
        MediaPlayer::setFactory({});
        TempHomeTest::TearDown();
    }
    // The folder the build writes the program and its sounds into.
    static QString builtProgramFolder() { return qEnvironmentVariable("FOLVANE_BIN_DIR") + QLatin1Char('/'); }
    // A program folder of the test's own holding the start sound.
    QString programFolder()
    {
        makeFile(QStringLiteral("program/sounds/fv3start.wav"), QByteArray::fromStdString(SoundSynth::wav("fv3start")));
        return home().root() + QStringLiteral("/program/");
    }
};

quint32 le32(const QByteArray& bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 le16(const QByteArray& bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }
qint16 sample(const QByteArray& bytes, qsizetype index)
{
    return qFromLittleEndian<qint16>(bytes.constData() + SoundSynth::kHeaderBytes + 2 * index);
}

TEST_F(SoundTest, EachSoundIsAShortMonoPcmWavWithoutClicks)
{
    std::vector<std::string> expected(std::begin(kSounds), std::end(kSounds));
    EXPECT_EQ(SoundSynth::names(), expected);
    EXPECT_TRUE(SoundSynth::wav("fv3nothing").empty());
    EXPECT_EQ(SoundSynth::durationMs("fv3nothing"), 0);
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const QByteArray wav = QByteArray::fromStdString(SoundSynth::wav(name));
        ASSERT_GT(wav.size(), qsizetype(SoundSynth::kHeaderBytes));
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(le32(wav, 4), quint32(wav.size() - 8));
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(le32(wav, 16), 16u);           // PCM fmt chunk
        EXPECT_EQ(le16(wav, 20), 1);             // PCM
        EXPECT_EQ(le16(wav, 22), 1);             // mono
        EXPECT_EQ(le32(wav, 24), 22050u);        // samples a second
        EXPECT_EQ(le32(wav, 28), 22050u * 2);    // bytes a second
        EXPECT_EQ(le16(wav, 32), 2);             // bytes a sample frame
        EXPECT_EQ(le16(wav, 34), 16);            // bits a sample
        EXPECT_EQ(wav.mid(36, 4), "data");
        const quint32 data = le32(wav, 40);
        EXPECT_EQ(data, quint32(wav.size()) - SoundSynth::kHeaderBytes);
        const int ms = SoundSynth::durationMs(name);
        EXPECT_GE(ms, 50);
        EXPECT_LE(ms, 500) << "an effect, not a tune";
        EXPECT_NEAR(double(data / 2), 22050.0 * ms / 1000, 2.0);
        int peak = 0;
        for (qsizetype i = 0; i < qsizetype(data / 2); ++i)
            peak = std::max(peak, std::abs(int(sample(wav, i))));
        EXPECT_GT(peak, 8000) << "audible";
        EXPECT_LT(peak, 32000) << "never clipped";
        EXPECT_LT(std::abs(sample(wav, 0)), 200) << "starts from silence";
        EXPECT_LT(std::abs(sample(wav, data / 2 - 1)), 200) << "ends in silence";
    }
}

TEST_F(SoundTest, TheBuildWritesEverySoundBesideTheProgram)
{
    for (const char* name : kSounds) {
        QFile file(ProgramSound::fileFor(builtProgramFolder(), name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
        EXPECT_EQ(file.readAll(), QByteArray::fromStdString(SoundSynth::wav(name))) << name;
    }
}

TEST_F(SoundTest, PlaysTheNamedSoundFileFromTheProgramFolderOnly)
{
    FakeMediaPlayer::install();
    const QString folder = programFolder();
    const QString empty = makeFolder(QStringLiteral("no-sound-here")) + QLatin1Char('/');
    struct Case {
        const char* what;
        bool enabled;
        QString folder;
        const char* entry;
        bool played;
    };
    const Case cases[] = {
        {"start sound", true, folder, "fv3start", true},
        {"file missing", true, folder, "fv3nothing", false},
        {"sounds off", false, folder, "fv3start", false},
        {"no sounds folder", true, empty, "fv3start", false},
        {"relative folder", true, QString(), "fv3start", false},
    };
    // A relative folder must not reach the sounds through the working folder.
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(folder);
    for (const Case& c : cases) {
        ProgramSound::setEnabled(c.enabled);
        FakeMediaPlayer* before = FakeMediaPlayer::last();
        EXPECT_EQ(ProgramSound::playFrom(c.folder, c.entry), c.played) << c.what;
        FakeMediaPlayer* player = FakeMediaPlayer::last();
        EXPECT_EQ(player != before, c.played) << c.what;
        if (c.played && player != before) {
            EXPECT_EQ(player->fileName(), folder + QStringLiteral("sounds/fv3start.wav")) << c.what;
            EXPECT_EQ(player->mode(), MediaMode::Playing) << c.what;
            player->finishPlayback();
        }
    }
    QDir::setCurrent(oldCurrent);
}

TEST_F(SoundTest, APlayerGoesWhenItsSoundEndsOrWhenTheProgramStopsWaiting)
{
    FakeMediaPlayer::install();
    const QString folder = programFolder();
    struct Case {
        const char* what;
        int endsAfterMs; // -1: never
        int waitMs;
    };
    const Case cases[] = {{"ends on its own", 30, 5000}, {"cut off at the wait's end", -1, 100}};
    for (const Case& c : cases) {
        ASSERT_TRUE(ProgramSound::playFrom(folder, "fv3start")) << c.what;
        QPointer<FakeMediaPlayer> player = FakeMediaPlayer::last();
        if (c.endsAfterMs >= 0)
            QTimer::singleShot(c.endsAfterMs, player, [player] { player->finishPlayback(); });
        QElapsedTimer clock;
        clock.start();
        ProgramSound::finishPlaying(c.waitMs);
        EXPECT_LT(clock.elapsed(), 2000) << c.what;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(player.isNull()) << c.what;
    }
}

#ifdef FOLVANE_HAVE_MULTIMEDIA
TEST_F(SoundTest, TheMediaBackEndPlaysTheBuiltSounds)
{
    ASSERT_TRUE(kNullAudioSink);
    for (const char* name : kSounds) {
        QtMediaPlayer player;
        ASSERT_TRUE(player.open(ProgramSound::fileFor(builtProgramFolder(), name))) << name << qPrintable(player.errorString());
        EXPECT_NEAR(double(player.length()), SoundSynth::durationMs(name), 30.0) << name;
    }
    QtMediaPlayer::install();
    ASSERT_TRUE(ProgramSound::playFrom(builtProgramFolder(), "fv3start"));
    QElapsedTimer clock;
    clock.start();
    ProgramSound::finishPlaying(10000);
    // GStreamer with no sound card and no null sink never runs the clock.
    if (clock.elapsed() >= 10000)
        GTEST_SKIP() << "the media framework found no audio output to play through on this machine";
    EXPECT_GE(clock.elapsed(), SoundSynth::durationMs("fv3start") - 100) << "played out, not failed at once";
}
#endif

} // namespace
