// The real program, started and closed: the first start writes the settings tree, a value
// changed in the store comes back at the next start through the window's own controls,
// and a window closed minimised opens normal.
#include "app/SettingsStore.h"
#include "app/SingleInstance.h"
#include "platform/Registry.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

namespace {

class ProgramCycleTest : public TempHomeTest {
protected:
    // Starts build/bin/folvane3 on the offscreen platform in the temporary home with
    // arguments, and waits until it answers.
    void start(QProcess& program, const QStringList& arguments = {})
    {
        program.setProgram(QStringLiteral(FOLVANE3_PROGRAM));
        program.setArguments(arguments);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : home().environment())
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start();
        ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    }

    void waitUntilAnswering(QProcess& program)
    {
        bool answered = false;
        for (QDeadlineTimer deadline(60000); !deadline.hasExpired() && !answered;) {
            answered = SingleInstance::sendCommand("ping", 500);
            if (!answered)
                QThread::msleep(100);
            ASSERT_NE(program.state(), QProcess::NotRunning) << "the program ended by itself";
        }
        ASSERT_TRUE(answered) << "the program never answered";
    }

    // Closes the program as File / Exit does.
    void close(QProcess& program)
    {
        ASSERT_TRUE(SingleInstance::sendCommand("quit"));
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }

    void startAndClose(const QStringList& arguments = {})
    {
        QProcess program;
        start(program, arguments);
        waitUntilAnswering(program);
        close(program);
    }

    QString stored(const QString& name)
    {
        Registry registry(Registry::userStorePath());
        if (!registry.load() || !registry.openKey(SettingsStore::kProgramKey, false))
            return QString();
        return registry.readString(name).value_or(QString());
    }

    std::optional<qint32> integer(const QString& key, const QString& name)
    {
        Registry registry(Registry::userStorePath());
        if (!registry.load() || !registry.openKey(key, false))
            return std::nullopt;
        return registry.readInteger(name);
    }
};

TEST_F(ProgramCycleTest, SettingsAreWrittenAtCloseAndRestoredAtTheNextStart)
{
    startAndClose();
    {
        Registry registry(Registry::userStorePath());
        const Status loaded = registry.load();
        ASSERT_TRUE(loaded) << loaded.describe().toStdString();
        ASSERT_TRUE(registry.openKey(SettingsStore::subkeyPath(QStringLiteral("MRUPath")), false));
        EXPECT_EQ(registry.readString(QStringLiteral("MRUPath0")), home().home());
    }
    EXPECT_EQ(integer(SettingsStore::kProgramKey, QStringLiteral("PathWidth")), 250);
    EXPECT_EQ(integer(SettingsStore::kProgramKey, QStringLiteral("AppState")), 3);

    {
        Registry registry(Registry::userStorePath());
        ASSERT_TRUE(registry.load());
        registry.openKey(SettingsStore::kProgramKey, false);
        registry.writeInteger(QStringLiteral("PathWidth"), 333);
        registry.writeInteger(QStringLiteral("ColSizeWidth"), 111);
        registry.writeInteger(QStringLiteral("AppState"), 2);
        registry.openKey(SettingsStore::subkeyPath(QStringLiteral("Mask")), false);
        registry.writeInteger(QStringLiteral("MaskIndex"), 3);
        registry.openKey(SettingsStore::subkeyPath(QStringLiteral("Options")), false);
        registry.writeInteger(QStringLiteral("AnimateStartup"), 0);
        ASSERT_TRUE(registry.save());
    }
    startAndClose();
    EXPECT_EQ(integer(SettingsStore::kProgramKey, QStringLiteral("PathWidth")), 333) << "the pane kept its width";
    EXPECT_EQ(integer(SettingsStore::kProgramKey, QStringLiteral("ColSizeWidth")), 111);
    EXPECT_EQ(integer(SettingsStore::kProgramKey, QStringLiteral("AppState")), 3) << "closed minimised, opened normal";
    EXPECT_EQ(integer(SettingsStore::subkeyPath(QStringLiteral("Mask")), QStringLiteral("MaskIndex")), 3);
    EXPECT_EQ(integer(SettingsStore::subkeyPath(QStringLiteral("Options")), QStringLiteral("AnimateStartup")), 0);
}

TEST_F(ProgramCycleTest, PathsOnTheCommandLineOpenThereAndReachARunningInstance)
{
    const QString docs = makeFolder(QStringLiteral("home/Documents"));
    const QString file = makeFile(QStringLiteral("home/Documents/report.txt"), "x");
    const QString music = makeFolder(QStringLiteral("home/Music"));
    const QString song = makeFile(QStringLiteral("home/Music/song.txt"), "x");

    // A file: its folder opens with the file selected.
    startAndClose({file});
    EXPECT_EQ(stored(QStringLiteral("FVCurrentPathSel")), docs + QStringLiteral("/"));
    EXPECT_EQ(stored(QStringLiteral("FVCurrentItemSel")), file);

    // A folder, then a second start with a file URL: it goes to the running window and ends.
    QProcess running;
    start(running, {music});
    waitUntilAnswering(running);
    QProcess second;
    start(second, {QStringLiteral("file://") + song});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(prompter().records().isEmpty());
    QThread::msleep(3000); // the running window lists the folder and selects the file
    close(running);
    EXPECT_EQ(stored(QStringLiteral("FVCurrentPathSel")), music + QStringLiteral("/"));
    EXPECT_EQ(stored(QStringLiteral("FVCurrentItemSel")), song);
}

} // namespace
