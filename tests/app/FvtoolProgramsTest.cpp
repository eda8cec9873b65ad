// fvtool holds the light commands and hands every other one, and --help, to fvtool-full
// beside it: the two must answer every command line alike, the light program must not load
// the libraries the split keeps out of it, and without its partner it still runs its own
// commands and says what it cannot run.
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

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

class FvtoolProgramsTest : public TempHomeTest {};

TEST_F(FvtoolProgramsTest, AnswersEveryCommandLineAsTheFullProgram)
{
    const QString missing = home().root() + QStringLiteral("/missing.mp3");
    const QString picture = makeFile(QStringLiteral("not-a-picture.jpg"), "text");
    const QList<QStringList> lines = {
        {},
        {QStringLiteral("--help")},
        {QStringLiteral("no-such-command")},
        {QStringLiteral("version")},
        {QStringLiteral("image"), picture},             // light: run by fvtool itself
        {QStringLiteral("image")},                      // light, a usage error
        {QStringLiteral("audioinfo"), missing},         // light: TagLib as a module, on demand
        {QStringLiteral("watch")},                      // heavy: D-Bus, a usage error
    };
    for (const QStringList& arguments : lines) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome light = run(binDir() + QStringLiteral("/fvtool"), arguments);
        const Outcome full = run(binDir() + QStringLiteral("/fvtool-full"), arguments);
        EXPECT_EQ(light.exitCode, full.exitCode);
        EXPECT_EQ(light.out, full.out);
        EXPECT_EQ(light.err, full.err);
    }
    const QByteArray help = run(binDir() + QStringLiteral("/fvtool"), {QStringLiteral("--help")}).err;
    for (const char* command : {"  fvtool image FILE", "  fvtool list DIR", "  fvtool audioinfo FILE", "  fvtool watch DIR"})
        EXPECT_TRUE(help.contains(command)) << command;
}

TEST_F(FvtoolProgramsTest, LightProgramLeavesHeavyLibrariesOut)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), binDir() + QStringLiteral("/fvtool")});
    if (!readelf.waitForFinished(60000) || readelf.exitCode() != 0)
        GTEST_SKIP() << "readelf is not available";
    const QByteArray needed = readelf.readAllStandardOutput();
    ASSERT_TRUE(needed.contains("[libQt6Core.so")) << needed.constData();
    for (const char* library : {"libQt6DBus", "libQt6Network", "libQt6Widgets", "libtag", "libcdio"})
        EXPECT_FALSE(needed.contains(QByteArray("[").append(library))) << library;
}

TEST_F(FvtoolProgramsTest, WithoutTheFullProgramRunsItsOwnCommands)
{
    const QString alone = makeFolder(QStringLiteral("alone")) + QStringLiteral("/fvtool");
    ASSERT_TRUE(QFile::copy(binDir() + QStringLiteral("/fvtool"), alone));

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
