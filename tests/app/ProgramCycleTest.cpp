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
    // Starts build/bin/folvane3 on the offscreen platform in the temporary home, waits
    // until it answers, then closes it as File / Exit does.
    void startAndClose()
    {
        QProcess program;
        program.setProgram(QStringLiteral(FOLVANE3_PROGRAM));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : home().environment())
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start();
        ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

        bool answered = false;
        for (QDeadlineTimer deadline(60000); !deadline.hasExpired() && !answered;) {
            answered = SingleInstance::sendCommand("ping", 500);
            if (!answered)
                QThread::msleep(100);
            ASSERT_NE(program.state(), QProcess::NotRunning) << "the program ended by itself";
        }
        ASSERT_TRUE(answered) << "the program never answered";
        ASSERT_TRUE(SingleInstance::sendCommand("quit"));
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
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

} // namespace
