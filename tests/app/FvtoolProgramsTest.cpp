// fvtool is a launcher without Qt: it decodes a JPEG itself for `fvtool image` and hands
// every other command line to fvtool-light (the light commands) or fvtool-full (the others,
// and --help) beside it. Every command line must get the answer of fvtool-full; the launcher
// must load no Qt and the light program none of the libraries the split keeps out of it;
// without a partner each program still runs what it holds and says what it cannot run.
#include "support/TempHome.h"
#include "viewers/image/PictureSamples.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <vector>

#include <unistd.h>

namespace {

QString binDir()
{
    const QString bin = qEnvironmentVariable("FOLVANE_BIN_DIR");
    return bin.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../bin") : bin;
}

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Outcome run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

class FvtoolProgramsTest : public TempHomeTest {
protected:
    // A folder holding copies of the named programs only: the launcher looks for its
    // partners beside its own resolved path.
    QString programsAlone(const QString& folder, const QStringList& programs)
    {
        const QString dir = makeFolder(folder);
        for (const QString& program : programs)
            EXPECT_TRUE(QFile::copy(binDir() + QLatin1Char('/') + program, dir + QLatin1Char('/') + program)) << program.toStdString();
        return dir + QStringLiteral("/fvtool");
    }
};

TEST_F(FvtoolProgramsTest, AnswersEveryCommandLineAsTheFullProgram)
{
    const QString missing = home().root() + QStringLiteral("/missing.mp3");
    const QString picture = makeFile(QStringLiteral("not-a-picture.jpg"), "text");
    const QList<QStringList> lines = {
        {},
        {QStringLiteral("--help")},
        {QStringLiteral("no-such-command")},
        {QStringLiteral("version")},
        {QStringLiteral("image"), picture},             // light: run by fvtool-light
        {QStringLiteral("image")},                      // light, a usage error
        {QStringLiteral("audioinfo"), missing},         // light: TagLib as a module, on demand
        {QStringLiteral("watch")},                      // heavy: D-Bus, a usage error
    };
    // The launcher, and fvtool-light run directly, which hands over what it does not hold.
    for (const QStringList& arguments : lines) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome full = run(binDir() + QStringLiteral("/fvtool-full"), arguments);
        for (const char* program : {"/fvtool", "/fvtool-light"}) {
            const Outcome light = run(binDir() + QLatin1String(program), arguments);
            EXPECT_EQ(light.exitCode, full.exitCode) << program;
            EXPECT_EQ(light.out, full.out) << program;
            EXPECT_EQ(light.err, full.err) << program;
        }
    }
    const QByteArray help = run(binDir() + QStringLiteral("/fvtool"), {QStringLiteral("--help")}).err;
    for (const char* command : {"  fvtool image FILE", "  fvtool list DIR", "  fvtool audioinfo FILE", "  fvtool watch DIR"})
        EXPECT_TRUE(help.contains(command)) << command;
}

// The launcher decodes a JPEG by itself, with the image viewer's code and without Qt; it
// must answer as the Qt program does, and leave every file it does not decode, and every
// other form of the command, to the Qt program.
TEST_F(FvtoolProgramsTest, DecodesJpegItselfAsTheQtProgramDoes)
{
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString good = home().root() + QStringLiteral("/good.jpg");
    ASSERT_TRUE(red.save(good, "jpg", 90));
    const QString grey = home().root() + QStringLiteral("/grey.jpg");
    ASSERT_TRUE(red.convertToFormat(QImage::Format_Grayscale8).save(grey, "jpg", 90));
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray jpeg = goodFile.readAll();
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(scan, 0);
    ASSERT_GT(frame, 0);
    QByteArray hostile = jpeg;
    hostile.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4)); // 60000 x 60000
    // Over the picture files' size limit (1 GiB), sparse.
    const QString oversized = makeFile(QStringLiteral("oversized.jpg"), jpeg);
    ASSERT_EQ(::truncate(QFile::encodeName(oversized).constData(), (qint64(1) << 30) + 1), 0);
    const QString turned = makeFile(QStringLiteral("turned.jpg"), withOrientation(jpeg, 6));
    const QString cutInScan = makeFile(QStringLiteral("cut-in-scan.jpg"), jpeg.left(scan + (jpeg.size() - scan) / 2));
    const QString cutInHeader = makeFile(QStringLiteral("cut-in-header.jpg"), jpeg.left(30));
    const QString startOnly = makeFile(QStringLiteral("start-only.jpg"), jpeg.left(3));
    const QString tooLarge = makeFile(QStringLiteral("too-large.jpg"), hostile);
    const QString text = makeFile(QStringLiteral("text.jpg"), "not a picture");
    const QString empty = makeFile(QStringLiteral("empty.jpg"));
    const QString missing = home().root() + QStringLiteral("/missing.jpg");
    const QString image = QStringLiteral("image");
    const QString scale = QStringLiteral("--scale");
    struct Case {
        QStringList arguments;
        const char* out; // the launcher's answer by itself; nullptr: left to the Qt program
    };
    const Case cases[] = {
        {{image, good}, "64x48 jpeg\n"},
        {{image, good, scale, QStringLiteral("8")}, "8x6 jpeg\n"},
        {{image, turned, scale, QStringLiteral("2")}, "24x32 jpeg\n"},
        {{image, grey}, "64x48 jpeg\n"},
        {{image, cutInScan}, "64x48 jpeg\n"},
        {{image, cutInHeader}, ""},
        {{image, startOnly}, ""},
        {{image, tooLarge}, ""},
        {{image, good, scale, QStringLiteral("3")}, nullptr},
        {{image, good, scale}, nullptr},
        {{image, good, scale, QStringLiteral("8"), QStringLiteral("more")}, nullptr},
        {{image, oversized}, nullptr},
        {{image, text}, nullptr},
        {{image, empty}, nullptr},
        {{image, missing}, nullptr},
        {{image, home().root()}, nullptr},
    };
    const QString alone = programsAlone(QStringLiteral("alone"), {QStringLiteral("fvtool")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome launcher = run(binDir() + QStringLiteral("/fvtool"), c.arguments);
        const Outcome full = run(binDir() + QStringLiteral("/fvtool-full"), c.arguments);
        EXPECT_EQ(launcher.exitCode, full.exitCode);
        EXPECT_EQ(launcher.out, full.out);
        EXPECT_EQ(launcher.err, full.err);
        // Without the Qt programs beside it, the launcher answers alike for a file it decodes,
        // and names the program it cannot run for any other.
        const Outcome byItself = run(alone, c.arguments);
        if (c.out) {
            EXPECT_EQ(byItself.out, QByteArray(c.out));
            EXPECT_EQ(byItself.err, full.err);
            EXPECT_EQ(byItself.exitCode, full.exitCode);
        } else {
            EXPECT_TRUE(byItself.err.startsWith("fvtool: cannot run ")) << byItself.err.constData();
        }
    }
}

TEST_F(FvtoolProgramsTest, LeavesLibrariesOutOfTheLauncherAndTheLightProgram)
{
    const struct {
        const char* program;
        const char* needed; // a library it must load, showing the listing was read
        std::vector<const char*> unwanted;
    } cases[] = {
        {"fvtool", "[libjpeg", {"libQt6"}},
        {"fvtool-light", "[libQt6Core.so", {"libQt6DBus", "libQt6Network", "libQt6Widgets", "libtag", "libcdio"}},
    };
    for (const auto& c : cases) {
        QProcess readelf;
        readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), binDir() + QLatin1Char('/') + QLatin1String(c.program)});
        if (!readelf.waitForFinished(60000) || readelf.exitCode() != 0)
            GTEST_SKIP() << "readelf is not available";
        const QByteArray needed = readelf.readAllStandardOutput();
        ASSERT_TRUE(needed.contains(c.needed)) << c.program << ": " << needed.constData();
        for (const char* library : c.unwanted)
            EXPECT_FALSE(needed.contains(QByteArray("[").append(library))) << c.program << ": " << library;
    }
}

// A heavy command goes from the launcher straight to fvtool-full, not through fvtool-light:
// without fvtool-light it still runs, and a light command names the program missing.
TEST_F(FvtoolProgramsTest, HeavyCommandsSkipTheLightProgram)
{
    const QString launcher = programsAlone(QStringLiteral("no-light"), {QStringLiteral("fvtool"), QStringLiteral("fvtool-full")});
    const QStringList playlist = {QStringLiteral("playlist"), home().root() + QStringLiteral("/missing.mp3")};
    const Outcome heavy = run(launcher, playlist);
    const Outcome full = run(binDir() + QStringLiteral("/fvtool-full"), playlist);
    EXPECT_EQ(heavy.exitCode, full.exitCode);
    EXPECT_EQ(heavy.out, full.out);
    EXPECT_EQ(heavy.err, full.err);

    const Outcome version = run(launcher, {QStringLiteral("version")});
    EXPECT_EQ(version.exitCode, 127);
    EXPECT_EQ(version.err, QByteArray("fvtool: cannot run ").append(QFile::encodeName(launcher)).append("-light: No such file or directory\n"));
}

TEST_F(FvtoolProgramsTest, WithoutTheFullProgramRunsItsOwnCommands)
{
    const QString alone = programsAlone(QStringLiteral("alone"), {QStringLiteral("fvtool"), QStringLiteral("fvtool-light")});

    const Outcome version = run(alone, {QStringLiteral("version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("fvtool ")) << version.out.constData();

    const Outcome watch = run(alone, {QStringLiteral("watch"), home().root()});
    EXPECT_EQ(watch.exitCode, 2);
    EXPECT_TRUE(watch.err.contains(QByteArray("fvtool: cannot run ").append(QFile::encodeName(alone)).append("-full: "))) << watch.err.constData();
    EXPECT_TRUE(watch.err.contains("  fvtool image FILE")) << watch.err.constData();
    EXPECT_FALSE(watch.err.contains("  fvtool watch")) << watch.err.constData();
}

} // namespace
