#include "platform/Session.h"

#include "platform/Shell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

#include <unistd.h>

namespace {

const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

QString verbOf(SessionAction action)
{
    switch (action) {
    case SessionAction::LogOff: return QStringLiteral("log off");
    case SessionAction::Restart: return QStringLiteral("restart");
    case SessionAction::ShutDown: return QStringLiteral("shut down");
    case SessionAction::StandBy: return QStringLiteral("stand by");
    case SessionAction::Hibernate: return QStringLiteral("hibernate");
    case SessionAction::Lock: return QStringLiteral("lock the screen");
    case SessionAction::ScreenSaver: return QStringLiteral("start the screen saver");
    case SessionAction::MonitorStandBy: return QStringLiteral("put the monitor to stand-by");
    case SessionAction::Reboot: return QStringLiteral("reboot");
    case SessionAction::PowerOff: return QStringLiteral("power off");
    }
    return QString();
}

// The logind method for a power action and its "Can" question.
QString powerMethod(SessionAction action)
{
    switch (action) {
    case SessionAction::Restart:
    case SessionAction::Reboot: return QStringLiteral("Reboot");
    case SessionAction::ShutDown:
    case SessionAction::PowerOff: return QStringLiteral("PowerOff");
    case SessionAction::StandBy: return QStringLiteral("Suspend");
    case SessionAction::Hibernate: return QStringLiteral("Hibernate");
    default: return QString();
    }
}

class LogindSession final : public SessionService {
public:
    LogindSession(const QDBusConnection& system, const QDBusConnection& session)
        : m_system(system)
        , m_session(session)
    {
    }

    bool canPerform(SessionAction action) override
    {
        const QString method = powerMethod(action);
        if (method.isEmpty())
            return action == SessionAction::MonitorStandBy ? !ProgramLauncher::instance().findProgram(QStringLiteral("xset")).isEmpty()
                                                           : loginAvailable();
        if (!loginAvailable())
            return false;
        QDBusReply<QString> answer = m_system.call(
            QDBusMessage::createMethodCall(kLogin, kManagerPath, kManager, QStringLiteral("Can") + method));
        return answer.isValid() && (answer.value() == QLatin1String("yes") || answer.value() == QLatin1String("challenge"));
    }

    Status perform(SessionAction action) override
    {
        QString reason;
        if (request(action, &reason))
            return Status();
        return Status::failure(QStringLiteral("Session"), QStringLiteral("The system refused to ") + verbOf(action) + QStringLiteral(": ") + reason);
    }

private:
    bool loginAvailable() const
    {
        QDBusConnection bus = m_system;
        return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(kLogin).value();
    }

    static bool call(QDBusConnection bus, const QDBusMessage& message, QString* reason)
    {
        const QDBusMessage reply = bus.call(message, QDBus::Block, 25000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
        *reason = reply.errorMessage();
        return false;
    }

    // This process's logind session object.
    QString sessionPath(QString* reason) const
    {
        QDBusMessage ask = QDBusMessage::createMethodCall(kLogin, kManagerPath, kManager, QStringLiteral("GetSessionByPID"));
        ask << quint32(::getpid());
        QDBusReply<QDBusObjectPath> path = m_system.call(ask);
        if (!path.isValid()) {
            *reason = path.error().message();
            return QString();
        }
        return path.value().path();
    }

    bool request(SessionAction action, QString* reason) const
    {
        if (action == SessionAction::MonitorStandBy) {
            const QString xset = ProgramLauncher::instance().findProgram(QStringLiteral("xset"));
            if (xset.isEmpty()) {
                *reason = QStringLiteral("the xset program is not installed");
                return false;
            }
            const Status started = ProgramLauncher::instance().start(
                xset, {QStringLiteral("dpms"), QStringLiteral("force"), QStringLiteral("standby")}, QString());
            *reason = started.errorString();
            return started.ok();
        }
        if (action == SessionAction::ScreenSaver) {
            QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                                                  QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                                  QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("SetActive"));
            message << true;
            return call(m_session, message, reason);
        }
        if (!loginAvailable()) {
            *reason = QStringLiteral("systemd-logind does not answer on the system bus");
            return false;
        }
        const QString method = powerMethod(action);
        if (!method.isEmpty()) {
            QDBusMessage message = QDBusMessage::createMethodCall(kLogin, kManagerPath, kManager, method);
            message << true; // interactive: polkit may ask the user for a password
            return call(m_system, message, reason);
        }
        const QString session = sessionPath(reason);
        if (session.isEmpty())
            return false;
        const QString what = action == SessionAction::Lock ? QStringLiteral("Lock") : QStringLiteral("Terminate");
        return call(m_system,
                    QDBusMessage::createMethodCall(kLogin, session, QStringLiteral("org.freedesktop.login1.Session"), what), reason);
    }

    QDBusConnection m_system;
    QDBusConnection m_session;
};

SessionService& logindSession()
{
    static LogindSession service(QDBusConnection::systemBus(), QDBusConnection::sessionBus());
    return service;
}
SessionService* currentSession = nullptr;

} // namespace

SessionService::~SessionService() = default;

SessionService& SessionService::instance()
{
    return currentSession ? *currentSession : logindSession();
}

void SessionService::setInstance(SessionService* service)
{
    currentSession = service;
}

std::unique_ptr<SessionService> SessionService::createOnBuses(const QDBusConnection& system, const QDBusConnection& session)
{
    return std::make_unique<LogindSession>(system, session);
}
