// The log-off and power commands: the settings are written before the system is asked, the
// window closes after, also when the system refuses; the screen commands leave it open.
// The real logind and screen-saver calls are checked against python3-dbusmock on a private
// bus: nothing here can reach the machine's own session.
#include "accessories/SystemCommands.h"

#include "support/FakeSession.h"
#include "support/PrivateBus.h"
#include "support/TempHome.h"

#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

TEST(SystemCommandsTest, EachCommandAsksTheSessionInOrder)
{
    const struct {
        SystemCommand command;
        const char* caption;
        SessionAction action;
        bool closes;
    } cases[] = {
        {SystemCommand::Restart, "Restart", SessionAction::Restart, true},
        {SystemCommand::LogOff, "Log Off", SessionAction::LogOff, true},
        {SystemCommand::Reboot, "Reboot", SessionAction::Reboot, true},
        {SystemCommand::ScreenSaver, "Screen Saver", SessionAction::ScreenSaver, false},
        {SystemCommand::Standby, "Monitor to Standby", SessionAction::MonitorStandBy, false},
        {SystemCommand::ShutDown, "Shut Down", SessionAction::ShutDown, true},
        {SystemCommand::PowerOff, "Power Off", SessionAction::PowerOff, true},
    };
    int count = 0;
    const SystemCommandItem* items = SystemCommands::items(&count);
    ASSERT_EQ(count, int(std::size(cases)));
    for (int i = 0; i < count; ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(items[i].command, c.command);
        EXPECT_STREQ(items[i].caption, c.caption);
        for (bool refused : {false, true}) {
            FakeSession session;
            if (refused)
                session.refuse(QStringLiteral("Access denied"));
            QStringList steps;
            const Status answer = SystemCommands::run(
                c.command,
                [&] { steps << QStringLiteral("save, asked %1").arg(session.performed().size()); },
                [&] { steps << QStringLiteral("close, asked %1").arg(session.performed().size()); });
            EXPECT_EQ(session.performed(), QList<SessionAction>{c.action});
            EXPECT_EQ(bool(answer), !refused);
            const QStringList expected = c.closes ? QStringList{QStringLiteral("save, asked 0"), QStringLiteral("close, asked 1")} : QStringList();
            EXPECT_EQ(steps, expected);
        }
    }
}

bool dbusmockAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()
        && QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) == 0;
}

QStringList loggedCalls(const QString& log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        // "<time> <Method> <arguments>"
        const int space = line.indexOf(' ');
        if (space > 0)
            calls << QString::fromUtf8(line.mid(space + 1)).trimmed();
    }
    return calls;
}

class SessionBusTest : public TempHomeTest {};

TEST_F(SessionBusTest, PowerOffAsksLogindOnceAfterSaving)
{
    if (!dbusmockAvailable())
        GTEST_SKIP() << "python3-dbusmock or dbus-daemon is not installed";
    PrivateBus bus;
    ASSERT_TRUE(bus.ok());
    const QString logindLog = home().root() + QStringLiteral("/logind.log");
    const QString saverLog = home().root() + QStringLiteral("/saver.log");
    ASSERT_TRUE(bus.mock({QStringLiteral("--system"), QStringLiteral("--template"), QStringLiteral("logind"), QStringLiteral("-l"), logindLog},
                         QStringLiteral("org.freedesktop.login1")));
    ASSERT_TRUE(bus.mock({QStringLiteral("-l"), saverLog, QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                          QStringLiteral("org.freedesktop.ScreenSaver")},
                         QStringLiteral("org.freedesktop.ScreenSaver")));
    // The screen saver's SetActive, added to the bare mock object.
    QDBusMessage add = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                      QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddMethod"));
    add << QString() << QStringLiteral("SetActive") << QStringLiteral("b") << QStringLiteral("b") << QStringLiteral("ret = True");
    ASSERT_EQ(bus.connection().call(add).type(), QDBusMessage::ReplyMessage);

    std::unique_ptr<SessionService> real = SessionService::createOnBuses(bus.connection(), bus.connection());
    SessionService* previous = &SessionService::instance();
    SessionService::setInstance(real.get());
    QStringList seenAtSave;
    bool closed = false;
    const Status answer = SystemCommands::run(SystemCommand::PowerOff, [&] { seenAtSave = loggedCalls(logindLog); }, [&] { closed = true; });
    const Status saver = SystemCommands::run(SystemCommand::ScreenSaver, {}, {});
    SessionService::setInstance(previous);

    EXPECT_TRUE(answer) << answer.errorString().toStdString();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(seenAtSave.filter(QStringLiteral("PowerOff")).isEmpty());
    EXPECT_EQ(loggedCalls(logindLog).filter(QStringLiteral("PowerOff")), QStringList{QStringLiteral("PowerOff True")});
    EXPECT_TRUE(saver) << saver.errorString().toStdString();
    EXPECT_EQ(loggedCalls(saverLog).filter(QStringLiteral("SetActive")), QStringList{QStringLiteral("SetActive True")});
}

} // namespace
