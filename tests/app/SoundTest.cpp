// PlayProgramSound: the sound library is loaded from the program's folder only, by its
// absolute path; sounds switched off, a missing library or a missing export stay silent.
#include "app/ProgramSound.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

namespace {

class SoundTest : public TempHomeTest {
protected:
    void TearDown() override
    {
        ProgramSound::setEnabled(true);
        TempHomeTest::TearDown();
    }
    // The folder of the test sound library (built beside the tests).
    static QString soundFolder() { return QStringLiteral(FV3AUDIO_TEST_DIR "/"); }
    QString mark() { return home().root() + QStringLiteral("/played"); }
    QStringList played()
    {
        QFile file(mark());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                               : QStringList();
    }
};

TEST_F(SoundTest, PlaysTheNamedExportOfTheLibraryBesideTheProgram)
{
    qputenv("FV3AUDIO_MARK", mark().toUtf8());
    const QString empty = makeFolder(QStringLiteral("no-sound-here")) + QLatin1Char('/');
    struct Case {
        const char* what;
        bool enabled;
        QString folder;
        const char* entry;
        bool played;
    };
    const Case cases[] = {
        {"start sound", true, soundFolder(), "fv3start", true},
        {"end sound", true, soundFolder(), "fv3end", true},
        {"export missing", true, soundFolder(), "fv3nothing", false},
        {"sounds off", false, soundFolder(), "fv3plop", false},
        {"no library", true, empty, "fv3start", false},
        {"relative folder", true, QString(), "fv3start", false},
    };
    // A relative folder must not reach the library through the working folder.
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(soundFolder());
    for (const Case& c : cases) {
        ProgramSound::setEnabled(c.enabled);
        QFile::remove(mark());
        EXPECT_EQ(ProgramSound::playFrom(c.folder, c.entry), c.played) << c.what;
        EXPECT_EQ(played(), c.played ? QStringList{QLatin1String(c.entry)} : QStringList()) << c.what;
    }
    QDir::setCurrent(oldCurrent);
    qunsetenv("FV3AUDIO_MARK");
}

} // namespace
