// The per-user settings tree: typed values survive a save and a load, keys open with and
// without creation, damaged files are refused with the line at fault, and a failed save
// leaves the earlier file whole.
#include "platform/Registry.h"
#include "platform/RegistryRunKey.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <limits>
#include <sys/resource.h>

namespace {

class RegistryTest : public TempHomeTest {
protected:
    QString storePath() const { return Registry::userStorePath(); }

    QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

struct TypedCase {
    const char* name;
    RegistryValue value;
};

TEST_F(RegistryTest, TypedValuesSurviveARoundTrip)
{
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    const TypedCase cases[] = {
        {"Zero", RegistryValue::fromDWord(0)},
        {"Largest", RegistryValue::fromDWord(0xffffffffu)},
        {"Negative", RegistryValue::fromDWord(quint32(-250))},
        {"Empty text", RegistryValue::fromString(QString())},
        {"Text that looks like a number", RegistryValue::fromString(QStringLiteral("1"))},
        {"Escapes", RegistryValue::fromString(QStringLiteral("a\"b\\c\r\nd\te\x01f\x7f=[x]"))},
        {"Unicode \"name\" \\ =", RegistryValue::fromString(QStringLiteral("Größe – 大小 😀"))},
        {"No bytes", RegistryValue::fromBinary(QByteArray())},
        {"Every byte", RegistryValue::fromBinary(allBytes)},
        {"", RegistryValue::fromString(QStringLiteral("default value"))},
    };
    Registry writer(storePath());
    ASSERT_TRUE(writer.load());
    ASSERT_TRUE(writer.openKey(QStringLiteral("Software\\Test\\Typed"), true));
    for (const TypedCase& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        switch (c.value.type) {
        case RegistryValueType::DWord: writer.writeInteger(name, qint32(c.value.dword)); break;
        case RegistryValueType::String: writer.writeString(name, c.value.text); break;
        case RegistryValueType::Binary: writer.writeBinary(name, c.value.bytes); break;
        }
    }
    ASSERT_TRUE(writer.openKey(QStringLiteral("Software\\Test\\Empty\\"), true));
    const Status written = writer.save();
    ASSERT_TRUE(written) << written.describe().toStdString();

    Registry reader(storePath());
    const Status read = reader.load();
    ASSERT_TRUE(read) << read.describe().toStdString();
    EXPECT_TRUE(reader.keyExists(QStringLiteral("\\software\\TEST\\empty")));
    ASSERT_TRUE(reader.openKey(QStringLiteral("SOFTWARE\\test\\typed"), false));
    QStringList expectedNames;
    for (const TypedCase& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        expectedNames.append(name);
        ASSERT_EQ(reader.valueType(name), c.value.type) << c.name;
        switch (c.value.type) {
        case RegistryValueType::DWord:
            EXPECT_EQ(reader.readInteger(name.toUpper()), std::optional<qint32>(qint32(c.value.dword))) << c.name;
            EXPECT_FALSE(reader.readString(name)) << c.name;
            break;
        case RegistryValueType::String:
            EXPECT_EQ(reader.readString(name), std::optional<QString>(c.value.text)) << c.name;
            EXPECT_FALSE(reader.readInteger(name)) << "a text must not read as a number: " << c.name;
            break;
        case RegistryValueType::Binary:
            EXPECT_EQ(reader.readBinary(name), std::optional<QByteArray>(c.value.bytes)) << c.name;
            EXPECT_FALSE(reader.readString(name)) << c.name;
            break;
        }
    }
    EXPECT_EQ(reader.valueNames(), expectedNames);
}

TEST_F(RegistryTest, KeysOpenWithAndWithoutCreationAndDelete)
{
    Registry registry(storePath());
    ASSERT_TRUE(registry.load());
    EXPECT_FALSE(registry.openKey(QStringLiteral("A\\B"), false));
    EXPECT_FALSE(registry.keyExists(QStringLiteral("A")));
    EXPECT_FALSE(registry.writeInteger(QStringLiteral("X"), 1)) << "no key is open";

    for (const char* bad : {"", "\\", "A\\\\B", "A\\ B \\C", "A\\B[1]", "A\\B\tC"})
        EXPECT_FALSE(registry.openKey(QString::fromLatin1(bad), true)) << bad;

    ASSERT_TRUE(registry.openKey(QStringLiteral("A\\B\\C"), true));
    registry.writeInteger(QStringLiteral("Kept"), 7);
    ASSERT_TRUE(registry.openKey(QStringLiteral("A\\B"), false));
    registry.writeString(QStringLiteral("One"), QStringLiteral("1"));
    registry.writeString(QStringLiteral("Two"), QStringLiteral("2"));
    EXPECT_TRUE(registry.deleteValue(QStringLiteral("one")));
    EXPECT_FALSE(registry.deleteValue(QStringLiteral("One")));
    EXPECT_EQ(registry.valueNames(), QStringList{QStringLiteral("Two")});
    EXPECT_EQ(registry.subkeyNames(), QStringList{QStringLiteral("C")});
    ASSERT_TRUE(registry.save());

    Registry again(storePath());
    ASSERT_TRUE(again.load());
    ASSERT_TRUE(again.openKey(QStringLiteral("A\\B\\C"), false));
    EXPECT_EQ(again.readInteger(QStringLiteral("Kept")), 7);
    EXPECT_TRUE(again.deleteKey(QStringLiteral("A\\B")));
    EXPECT_FALSE(again.hasCurrentKey()) << "the open key was inside the deleted branch";
    EXPECT_FALSE(again.keyExists(QStringLiteral("A\\B\\C")));
    EXPECT_TRUE(again.keyExists(QStringLiteral("A")));
    EXPECT_FALSE(again.deleteKey(QStringLiteral("A\\B")));
}

struct DamagedCase {
    const char* fault;
    const char* text;
    const char* expected;
};

TEST_F(RegistryTest, DamagedFileIsRefusedWithTheLineAtFaultAndLeftAlone)
{
    const DamagedCase cases[] = {
        {"value before any key", "\"A\"=dword:1\n", "line 1"},
        {"key line not closed", "[A\\B\n", "line 1: expected ']'"},
        {"empty key name", "[A\\\\B]\n", "not a valid key path"},
        {"missing '='", "[A]\n\"X\" dword:1\n", "line 2: expected '='"},
        {"unterminated name", "[A]\n\"X=dword:1\n", "line 2"},
        {"dword beyond 32 bits", "[A]\n\"X\"=dword:4294967296\n", "does not fit in 32 bits"},
        {"dword below 32 bits", "[A]\n\"X\"=dword:-2147483649\n", "does not fit in 32 bits"},
        {"dword of many digits", "[A]\n\"X\"=dword:000000000000000000000000000001x\n", "unexpected text"},
        {"hex dword too long", "[A]\n\"X\"=dword:0x123456789\n", "more than 8 hex digits"},
        {"dword not a number", "[A]\n\"X\"=dword:zz\n", "expected a number"},
        {"dword without digits", "[A]\n\"X\"=dword:0x\n", "expected hex digits"},
        {"odd hex byte", "[A]\n\"X\"=hex:0a,b\n", "two hex digits"},
        {"hex without comma", "[A]\n\"X\"=hex:0a 0b\n", "','"},
        {"unknown type", "[A]\n\"X\"=qword:1\n", "expected dword:"},
        {"text not closed", "[A]\n\"X\"=\"abc\n", "closing"},
        {"unknown escape", "[A]\n\"X\"=\"a\\qb\"\n", "unknown escape"},
        {"short \\x escape", "[A]\n\"X\"=\"a\\x4\"\n", "two hex digits"},
        {"text after value", "[A]\n\"X\"=dword:1 junk\n", "unexpected text"},
        {"not UTF-8", "[A]\n\"X\"=\"\xff\xfe\"\n", "not UTF-8"},
        {"too deep", "[a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\l\\m\\n\\o\\p\\q\\r\\s\\t\\u\\v\\w\\x\\y\\z\\1\\2\\3\\4\\5\\6\\7]\n",
         "not a valid key path"},
    };
    for (const DamagedCase& c : cases) {
        const QByteArray bytes(c.text);
        const QString path = makeFile(QStringLiteral("damaged/registry.txt"), bytes);
        Registry registry(path);
        const Status loaded = registry.load();
        EXPECT_FALSE(loaded) << c.fault;
        EXPECT_TRUE(loaded.errorString().contains(path)) << c.fault;
        EXPECT_TRUE(loaded.errorString().contains(QLatin1String(c.expected)))
            << c.fault << ": " << loaded.errorString().toStdString();
        EXPECT_FALSE(registry.keyExists(QStringLiteral("A"))) << "nothing of a damaged file is used: " << c.fault;
        EXPECT_EQ(fileBytes(path), bytes) << c.fault;
    }
}

TEST_F(RegistryTest, CommentsBlankLinesAndCarriageReturnsAreRead)
{
    const QString path = makeFile(QStringLiteral("hand/registry.txt"),
                                  "; edited by hand\r\n# another comment\r\n\r\n  [A\\B]  \r\n"
                                  "\"X\" = dword:0x2a\r\n\"Y\"=hex:\r\n\"Z\"=hex: 01 , ff\r\n"
                                  "\"Big\"=dword:4294967295\r\n\"Low\"=dword:-2147483648\r\n");
    Registry registry(path);
    const Status loaded = registry.load();
    ASSERT_TRUE(loaded) << loaded.describe().toStdString();
    ASSERT_TRUE(registry.openKey(QStringLiteral("A\\B"), false));
    EXPECT_EQ(registry.readInteger(QStringLiteral("X")), 42);
    EXPECT_EQ(registry.readBinary(QStringLiteral("Y")), QByteArray());
    EXPECT_EQ(registry.readBinary(QStringLiteral("Z")), QByteArray("\x01\xff", 2));
    EXPECT_EQ(registry.readInteger(QStringLiteral("Big")), -1);
    EXPECT_EQ(registry.readInteger(QStringLiteral("Low")), std::numeric_limits<qint32>::min());
}

TEST_F(RegistryTest, OversizedFileIsRefused)
{
    const QString path = makeFile(QStringLiteral("big/registry.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(17 * 1024 * 1024));
    file.close();
    Registry registry(path);
    const Status loaded = registry.load();
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(loaded.errorString().contains(QLatin1String("larger than 16 MiB")));
}

TEST_F(RegistryTest, FailedSaveKeepsTheEarlierFileWhole)
{
    Registry first(storePath());
    ASSERT_TRUE(first.load());
    first.openKey(QStringLiteral("Keep"), true);
    first.writeString(QStringLiteral("Me"), QStringLiteral("safe"));
    ASSERT_TRUE(first.save());
    const QByteArray before = fileBytes(storePath());

    Registry second(storePath());
    ASSERT_TRUE(second.load());
    second.openKey(QStringLiteral("Keep"), true);
    second.writeBinary(QStringLiteral("Big"), QByteArray(64 * 1024, 'x'));

    // A file size limit makes the write fail half-way even for root, like a full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 8 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status saved64k = second.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved64k);
    EXPECT_TRUE(saved64k.errorString().contains(storePath())) << saved64k.errorString().toStdString();
    EXPECT_EQ(fileBytes(storePath()), before);
    EXPECT_EQ(QDir(QFileInfo(storePath()).absolutePath()).entryList(QDir::Files),
              QStringList{QStringLiteral("registry.txt")})
        << "no temporary file is left behind";
}

TEST_F(RegistryTest, SaveIntoAFolderThatCannotExistFails)
{
    makeFile(QStringLiteral("blocker"), "a file where a folder should be");
    Registry registry(home().root() + QStringLiteral("/blocker/sub/registry.txt"));
    ASSERT_TRUE(registry.load());
    registry.openKey(QStringLiteral("A"), true);
    const Status saved = registry.save();
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.errorString().contains(QLatin1String("blocker"))) << saved.errorString().toStdString();
}

TEST_F(RegistryTest, FileIsKeptInTheUsersConfigFolder)
{
    EXPECT_EQ(Registry::userStorePath(), home().configHome() + QStringLiteral("/QuorVel/Folvane3/registry.txt"));
}

TEST_F(RegistryTest, AutoStartEntryIsWrittenOnlyWhereTheFolderCanBeOpened)
{
    const QString title = QStringLiteral("FolVane III (File Manager Plus)");
    const QString program = QStringLiteral("/opt/my apps/folvane3");

    // The folder is never created.
    EXPECT_FALSE(RegistryRunKey::apply(title, program, true));
    EXPECT_FALSE(QFileInfo::exists(RegistryRunKey::folder()));

    QDir().mkpath(RegistryRunKey::folder());
    ASSERT_TRUE(RegistryRunKey::apply(title, program, true));
    const QString entry = QString::fromUtf8(fileBytes(RegistryRunKey::entryPath()));
    EXPECT_TRUE(entry.startsWith(QLatin1String("[Desktop Entry]\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QLatin1String("\nName=FolVane III (File Manager Plus)\n")));
    EXPECT_TRUE(entry.contains(QLatin1String("\nExec=\"/opt/my apps/folvane3\"\n")));

    ASSERT_TRUE(RegistryRunKey::apply(title, program, false));
    EXPECT_FALSE(QFileInfo::exists(RegistryRunKey::entryPath()));
    EXPECT_TRUE(RegistryRunKey::apply(title, program, false)) << "removing an absent entry is fine";
}

TEST_F(RegistryTest, AutoStartFolderThatIsAFileIsSkipped)
{
    QDir(home().systemConfigDir()).rmdir(QStringLiteral("autostart"));
    makeFile(QStringLiteral("etc-xdg/autostart"), "not a folder");
    EXPECT_FALSE(RegistryRunKey::apply(QStringLiteral("T"), QStringLiteral("/bin/true"), true));
    EXPECT_EQ(fileBytes(home().systemConfigDir() + QStringLiteral("/autostart")), QByteArray("not a folder"));
}

TEST(RegistryRunKeyExec, QuotesWhatTheDesktopEntryFormatReserves)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/folvane3", R"("/usr/bin/folvane3")"},
        {"/a b/c", R"("/a b/c")"},
        {R"(/x"y)", R"("/x\\"y")"},
        {"/x$y`z", R"("/x\\$y\\`z")"},
        {R"(/x\y)", R"("/x\\\\y")"},
        {"/100%", R"("/100%%")"},
    };
    for (const auto& [program, exec] : cases)
        EXPECT_EQ(RegistryRunKey::execLine(QString::fromUtf8(program)), QString::fromUtf8(exec)) << program;
}

} // namespace
