// The mount watcher's UDisks2 path, against a mock UDisks2 (python3-dbusmock) on a private
// bus: a device object announced by the object manager comes out as MediaInsert, its removal
// as MediaRemove, each with the device's object path; an object manager that is not UDisks2's
// is not listened to; a UDisks2 that starts after the watcher is heard.
#include "platform/linux/MountWatcher.h"

#include "platform/ChangeNotices.h"
#include "support/PrivateBus.h"
#include "support/TempHome.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QTest>

namespace {

using InterfaceProperties = QMap<QString, QVariantMap>;

const QString kUdisks = QStringLiteral("org.freedesktop.UDisks2");
const QString kManagerPath = QStringLiteral("/org/freedesktop/UDisks2");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString kStick = QStringLiteral("/org/freedesktop/UDisks2/block_devices/sdb1");

class MountWatcherUdisksTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        if (!QFile::exists(QStringLiteral("/usr/lib/python3/dist-packages/dbusmock/__init__.py")))
            GTEST_SKIP() << "python3-dbusmock is not installed";
        qDBusRegisterMetaType<QVariantMap>();
        qDBusRegisterMetaType<InterfaceProperties>();
        m_bus = std::make_unique<PrivateBus>();
        ASSERT_TRUE(m_bus->ok());
        m_registration = ChangeNoticeBus::instance().registerWatcher(
            &m_receiver, ChangeEvent::MediaInsert | ChangeEvent::MediaRemove, QStringLiteral("/"), true,
            [this](const ChangeNotice& notice) { m_seen << notice; });
    }

    void TearDown() override
    {
        if (m_registration > 0)
            ChangeNoticeBus::instance().deregisterWatcher(m_registration);
        m_bus.reset();
        TempHomeTest::TearDown();
    }

    // The mock's object manager sends the signal, as the UDisks2 daemon does.
    void emitFromManager(const QString& service, const QString& name, const QString& signature, const QVariantList& args)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(service, kManagerPath, QStringLiteral("org.freedesktop.DBus.Mock"),
                                                           QStringLiteral("EmitSignal"));
        QVariantList wrapped;
        for (const QVariant& arg : args)
            wrapped << QVariant::fromValue(QDBusVariant(arg));
        call << kObjectManager << name << signature << QVariant::fromValue(wrapped);
        const QDBusMessage reply = m_bus->connection().call(call);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    void plugIn(const QString& service)
    {
        const InterfaceProperties interfaces{
            {QStringLiteral("org.freedesktop.UDisks2.Block"), {{QStringLiteral("Size"), QVariant::fromValue(quint64(1) << 30)}}}};
        emitFromManager(service, QStringLiteral("InterfacesAdded"), QStringLiteral("oa{sa{sv}}"),
                        {QVariant::fromValue(QDBusObjectPath(kStick)), QVariant::fromValue(interfaces)});
    }

    void pullOut(const QString& service)
    {
        emitFromManager(service, QStringLiteral("InterfacesRemoved"), QStringLiteral("oas"),
                        {QVariant::fromValue(QDBusObjectPath(kStick)), QStringList{QStringLiteral("org.freedesktop.UDisks2.Block")}});
    }

    bool waitForNotices(qsizetype count) { return QTest::qWaitFor([&] { return m_seen.size() >= count; }, 5000); }

    std::unique_ptr<PrivateBus> m_bus;
    QObject m_receiver;
    int m_registration = 0;
    QList<ChangeNotice> m_seen;
};

TEST_F(MountWatcherUdisksTest, DeviceAppearingAndDisappearingIsAnnounced)
{
    ASSERT_TRUE(m_bus->mock({QStringLiteral("--system"), kUdisks, kManagerPath, kObjectManager}, kUdisks));
    MountWatcher watcher(QString(), m_bus->connection());

    plugIn(kUdisks);
    ASSERT_TRUE(waitForNotices(1));
    EXPECT_EQ(m_seen[0].event, ChangeEvent::MediaInsert);
    EXPECT_EQ(m_seen[0].path, kStick);

    pullOut(kUdisks);
    ASSERT_TRUE(waitForNotices(2));
    EXPECT_EQ(m_seen[1].event, ChangeEvent::MediaRemove);
    EXPECT_EQ(m_seen[1].path, kStick);
    EXPECT_EQ(m_seen.size(), 2);
}

TEST_F(MountWatcherUdisksTest, AnotherServicesObjectManagerIsNotHeard)
{
    // UDisks2 runs, but the same signal from another service on the bus is not a drive.
    const QString other = QStringLiteral("org.example.Storage");
    ASSERT_TRUE(m_bus->mock({QStringLiteral("--system"), kUdisks, kManagerPath, kObjectManager}, kUdisks));
    ASSERT_TRUE(m_bus->mock({QStringLiteral("--system"), other, kManagerPath, kObjectManager}, other));
    MountWatcher watcher(QString(), m_bus->connection());

    plugIn(other);
    plugIn(kUdisks); // a marker: once it is heard, the other service's signal had its chance
    ASSERT_TRUE(waitForNotices(1));
    QTest::qWait(100);
    ASSERT_EQ(m_seen.size(), 1);
    EXPECT_EQ(m_seen[0].event, ChangeEvent::MediaInsert);
}

TEST_F(MountWatcherUdisksTest, UdisksStartedAfterTheWatcherIsHeard)
{
    // UDisks2 is started on demand, often after the program: its signals count from then on.
    MountWatcher watcher(QString(), m_bus->connection());
    ASSERT_TRUE(m_bus->mock({QStringLiteral("--system"), kUdisks, kManagerPath, kObjectManager}, kUdisks));
    plugIn(kUdisks);
    ASSERT_TRUE(waitForNotices(1));
    EXPECT_EQ(m_seen[0].event, ChangeEvent::MediaInsert);
    EXPECT_EQ(m_seen[0].path, kStick);
}

} // namespace
