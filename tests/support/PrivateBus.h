#pragma once
// A dbus-daemon of the test's own on a private address, stopped with the object: D-Bus
// services of the program are tested there, never on the user's session or system bus.
// mock() starts python3-dbusmock on it (as both the "system" and the session bus).

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QThread>

class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (QProcess* mock : m_mocks) {
            mock->terminate();
            mock->waitForFinished();
            delete mock;
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("folvane-test-bus"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    bool ok() const { return !m_address.isEmpty(); }
    const QString& address() const { return m_address; }
    QDBusConnection connection() const { return QDBusConnection::connectToBus(m_address, QStringLiteral("folvane-test-bus")); }

    // Starts dbusmock with arguments (logging calls to log) and waits for name on the bus.
    bool mock(const QStringList& arguments, const QString& name)
    {
        auto* process = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        process->setProcessEnvironment(env);
        process->start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock")} + arguments);
        m_mocks << process;
        for (int i = 0; i < 100; ++i) {
            if (connection().interface()->isServiceRegistered(name))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

private:
    QProcess m_daemon;
    QString m_address;
    QList<QProcess*> m_mocks;
};
