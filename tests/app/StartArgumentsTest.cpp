// Paths on the command line and from "Show in folder": the parsing table, and the
// org.freedesktop.FileManager1 service called with gdbus on a private bus.
#include "app/FileManagerService.h"
#include "app/StartArguments.h"

#include "platform/FileName.h"
#include "support/ByteFiles.h"
#include "support/PrivateBus.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QStandardPaths>

namespace {

class StartArgumentsTest : public TempHomeTest {};

TEST_F(StartArgumentsTest, PathsAndUrlsBecomeAFolderAndAnItem)
{
    const QString root = home().root();
    const QString docs = makeFolder(QStringLiteral("Documents"));
    const QString file = makeFile(QStringLiteral("Documents/report one.txt"), "x");
    const QString odd = docs + QStringLiteral("/") + FileName::decode(QByteArray("caf\xe9.txt"));
    ByteFiles::writeFile(FileName::encode(odd), "x");
    const QString oddUrl = FileName::toUrl(odd).toString(QUrl::FullyEncoded);
    const struct {
        QStringList arguments;
        QString workingFolder;
        StartTarget expected;
    } cases[] = {
        {{docs}, QStringLiteral("/"), {docs, QString(), QString()}},
        {{docs + QStringLiteral("/")}, QStringLiteral("/"), {docs, QString(), QString()}},
        {{file}, QStringLiteral("/"), {docs, file, QString()}},
        {{QStringLiteral("Documents/report one.txt")}, root, {docs, file, QString()}},
        {{QStringLiteral("./Documents/../Documents")}, root, {docs, QString(), QString()}},
        {{QStringLiteral("file://") + docs}, QStringLiteral("/"), {docs, QString(), QString()}},
        {{QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(file, "/"))}, QStringLiteral("/"), {docs, file, QString()}},
        {{oddUrl}, QStringLiteral("/"), {docs, odd, QString()}},
        {{QStringLiteral("--sync"), QString(), docs, file}, QStringLiteral("/"), {docs, QString(), QString()}},
        {{}, root, {}},
        {{QStringLiteral("/")}, root, {QStringLiteral("/"), QString(), QString()}},
        {{QStringLiteral("https://example.org/x")}, root, {QString(), QString(), QStringLiteral("Not a local file: https://example.org/x")}},
        {{QStringLiteral("file://otherhost/x")}, root, {QString(), QString(), QStringLiteral("Not a local file: file://otherhost/x")}},
        {{root + QStringLiteral("/missing")}, root, {QString(), QString(), QStringLiteral("The path does not exist: ") + root + QStringLiteral("/missing")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const StartTarget got = StartArguments::parse(c.arguments, c.workingFolder);
        EXPECT_EQ(got.folder, c.expected.folder);
        EXPECT_EQ(got.item, c.expected.item);
        EXPECT_EQ(got.error, c.expected.error);
        if (!got.isEmpty())
            EXPECT_EQ(StartTarget::fromMessage(got.toMessage()), got);
    }
}

TEST_F(StartArgumentsTest, FileManagerInterfaceShowsFoldersItemsAndProperties)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() || QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
        GTEST_SKIP() << "dbus-daemon or gdbus is not installed";
    PrivateBus bus;
    ASSERT_TRUE(bus.ok());
    const QString docs = makeFolder(QStringLiteral("Documents"));
    const QString file = makeFile(QStringLiteral("Documents/a.txt"), "x");

    FileManagerService service;
    ASSERT_TRUE(service.publish(bus.connection()));
    FileManagerService second;
    EXPECT_FALSE(second.publish(bus.connection())) << "a name held by another file manager is left to it";

    QSignalSpy shown(&service, &FileManagerService::showRequested);
    QSignalSpy properties(&service, &FileManagerService::propertiesRequested);
    const auto call = [&](const char* method, const QString& uri) {
        QProcess gdbus;
        gdbus.start(QStringLiteral("gdbus"), {QStringLiteral("call"), QStringLiteral("--address"), bus.address(), QStringLiteral("--dest"),
                                              QLatin1String(FileManagerService::kName), QStringLiteral("--object-path"),
                                              QLatin1String(FileManagerService::kPath), QStringLiteral("--method"),
                                              QStringLiteral("org.freedesktop.FileManager1.") + QLatin1String(method),
                                              QStringLiteral("['%1']").arg(uri), QStringLiteral("")});
        // The service answers from this thread's event loop while gdbus waits.
        while (!gdbus.waitForFinished(20))
            QCoreApplication::processEvents();
        return gdbus.exitCode();
    };
    EXPECT_EQ(call("ShowFolders", FileName::toUrl(docs).toString()), 0);
    EXPECT_EQ(call("ShowItems", FileName::toUrl(file).toString()), 0);
    EXPECT_EQ(call("ShowItems", FileName::toUrl(docs).toString()), 0);
    EXPECT_EQ(call("ShowItemProperties", FileName::toUrl(file).toString()), 0);
    EXPECT_EQ(call("ShowItems", QStringLiteral("file:///no/such/file")), 0);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0][0].value<StartTarget>(), (StartTarget{docs, QString(), QString()}));
    EXPECT_EQ(shown[1][0].value<StartTarget>(), (StartTarget{docs, file, QString()}));
    EXPECT_EQ(shown[2][0].value<StartTarget>(), (StartTarget{home().root(), docs, QString()}));
    ASSERT_EQ(properties.size(), 1);
    EXPECT_EQ(properties[0][0].toString(), file);
}

} // namespace
