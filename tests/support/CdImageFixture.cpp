#include "support/CdImageFixture.h"

#include "platform/CdAudio.h"
#include "platform/CdAudioSink.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

void CdImageFixture::SetUp()
{
    TempHomeTest::SetUp();
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty() || QStandardPaths::findExecutable(QStringLiteral("cd-info")).isEmpty())
        GTEST_SKIP() << "sox or cd-info is not installed";
    const QString root = home().root();
    const struct {
        const char* name;
        const char* seconds;
        QStringList tones;
        int frames;
    } tracks[] = {{"t1.raw", "3", {QStringLiteral("sine"), QStringLiteral("440")}, 225},
                  {"t2.raw", "2.4", {QStringLiteral("sine"), QStringLiteral("300"), QStringLiteral("sine"), QStringLiteral("700")}, 180}};
    QByteArray bin;
    for (const auto& t : tracks) {
        const QString raw = root + QLatin1Char('/') + QLatin1String(t.name);
        ASSERT_EQ(QProcess::execute(QStringLiteral("sox"), QStringList{QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                                                                       QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-e"),
                                                                       QStringLiteral("signed-integer"), QStringLiteral("-L"), QStringLiteral("-t"), QStringLiteral("raw"), raw,
                                                                       QStringLiteral("synth"), QLatin1String(t.seconds)}
                                                               + t.tones),
                  0);
        QFile file(raw);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray samples = file.readAll();
        ASSERT_EQ(samples.size(), t.frames * 2352);
        m_tracks << samples;
        bin += samples;
    }
    makeFile(QStringLiteral("disc.bin"), bin);
    m_cue = makeFile(QStringLiteral("disc.cue"), "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                 "  TRACK 02 AUDIO\n    INDEX 01 00:03:00\n");
}

void CdImageFixture::TearDown()
{
    CdAudioSink::setFactory({});
    TempHomeTest::TearDown();
}

QByteArray CdImageFixture::playToTheEnd(CdAudioDevice& device, int track, const std::shared_ptr<RecordingCdSink::Tape>& tape)
{
    tape->clear();
    EXPECT_TRUE(device.play(track)) << device.errorString().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.mode() != MediaMode::Playing; }, 20000));
    EXPECT_EQ(device.mode(), MediaMode::Stopped);
    return tape->bytes();
}
