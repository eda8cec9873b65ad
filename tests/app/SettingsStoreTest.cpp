// The settings engine: the first run writes every value with its default, a missing or
// mistyped value ends the load and the state is written back (repair), and a damaged file
// is kept aside instead of being overwritten.
#include "app/SettingsStore.h"
#include "platform/Registry.h"
#include "platform/RegistryRunKey.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <variant>

namespace {

using Expected = std::variant<qint32, const char*>;

struct StoredValue {
    const char* subkey; // empty for the program key
    const char* name;
    Expected value;
};

// Every value of the store with its default, as the first run must write it.
const StoredValue kDefaults[] = {
    {"", "ShowHiddenSystemfiles", 1}, {"", "OpenByDblClickFV", 1}, {"", "SingleDrive", 1},
    {"", "ShowDrives", 1}, {"", "FVVersionStr", "V0.00 Sat Mar 01, 2008"}, {"", "ScaleJPGIndex", 0},
    {"", "FVCurrentItemSel", ""}, {"", "FVCurrentPathSel", ""}, {"", "FVModeCurrent", 0},
    {"", "AppTop", 0}, {"", "AppLeft", 0}, {"", "AppHeight", 654}, {"", "AppWidth", 882},
    {"", "PathWidth", 250}, {"", "ColNameWidth", 150}, {"", "ColSizeWidth", 100},
    {"", "ColTypeWidth", 100}, {"", "ColDateWidth", 125}, {"", "ColAttrWidth", 50},
    {"", "AutosizeColumns", 1}, {"", "AppState", 3}, {"", "FileSortIndex", 0}, {"", "DecendSort", 0},
    {"", "FileViewIndex", 0}, {"", "TabBottom", 0},
    {"Editor", "TextEditorAutoIndent", 0}, {"Editor", "TextEditorMakeBackup", 0},
    {"Editor", "TextEditorWordwrap", 0}, {"Editor", "TextEditorTabType", 0},
    {"Editor", "TextEditorTabSize", 8}, {"Editor", "TextEditorWrapColumn", 80},
    {"Editor", "TextEditorFont", "Terminal"}, {"Editor", "TextEditorSize", 8},
    {"Viewer", "HEX", 0}, {"Viewer", "FileViewerFilterChar", 1}, {"Viewer", "FileViewerFont", "Terminal"},
    {"Viewer", "FileViewerSize", 8}, {"Viewer", "SpinViewDelay", 500},
    {"Options", "RunMinimized", 0}, {"Options", "MovieRes", 4}, {"Options", "ShowNextFile", 1},
    {"Options", "ContinuousPlay", 1}, {"Options", "Shuffle", 1}, {"Options", "LoopMovie", 0},
    {"Options", "fv3sounds", 1}, {"Options", "CleanUpOnExit", 0}, {"Options", "UseSmallZipToExe", 0},
    {"Options", "AutoStartFolVane", 0}, {"Options", "AnimateStartup", 1}, {"Options", "ShowZipEncryptStatus", 0},
    {"Mask", "MaskIndex", 0}, {"MRUEXT", "ExtIndex", 0}, {"MRURun", "RunIndex", 0},
    {"MRUFind", "FindStrIndex", 0}, {"MRURepl", "ReplStrIndex", 0}, {"MRUFindFile", "FileStrIndex", 0},
};

const QStringList kProgramKeyWriteOrder = {
    "ShowHiddenSystemfiles", "OpenByDblClickFV", "SingleDrive", "ShowDrives", "FVVersionStr", "ScaleJPGIndex",
    "FVBrowserWebStr", "FVCurrentItemSel", "FVCurrentPathSel", "FVModeCurrent", "AppTop", "AppLeft",
    "AppHeight", "AppWidth", "PathWidth", "ColNameWidth", "ColSizeWidth", "ColTypeWidth", "ColDateWidth",
    "ColAttrWidth", "AutosizeColumns", "AppState", "FileSortIndex", "DecendSort", "FileViewIndex", "TabBottom",
};

QString keyOf(const char* subkey)
{
    return *subkey ? SettingsStore::subkeyPath(QLatin1String(subkey)) : SettingsStore::kProgramKey;
}

class SettingsStoreTest : public TempHomeTest {
protected:
    QString path() const { return Registry::userStorePath(); }
    SettingsStore store() const { return SettingsStore(path()); }

    Registry opened(const QString& key)
    {
        Registry registry(path());
        const Status loaded = registry.load();
        EXPECT_TRUE(loaded) << loaded.describe().toStdString();
        EXPECT_TRUE(registry.openKey(key, false)) << key.toStdString();
        return registry;
    }

    void expectStored(const StoredValue& v)
    {
        Registry registry = opened(keyOf(v.subkey));
        const QString name = QLatin1String(v.name);
        if (const auto* number = std::get_if<qint32>(&v.value)) {
            EXPECT_EQ(registry.valueType(name), RegistryValueType::DWord) << v.name;
            EXPECT_EQ(registry.readInteger(name), *number) << v.name;
        } else {
            EXPECT_EQ(registry.readString(name), QString::fromUtf8(std::get<const char*>(v.value))) << v.name;
        }
    }

    // Changes stored values in place, as another run of the program would have left them.
    void edit(const std::function<void(Registry&)>& change)
    {
        Registry registry(path());
        ASSERT_TRUE(registry.load());
        change(registry);
        ASSERT_TRUE(registry.save());
    }

    QStringList stem(const char* subkey, const QString& name)
    {
        Registry registry = opened(keyOf(subkey));
        QStringList items;
        for (int i = 0; const auto item = registry.readString(name + QString::number(i)); ++i)
            items.append(*item);
        return items;
    }
};

TEST_F(SettingsStoreTest, FirstRunWritesEveryValueWithItsDefault)
{
    AppSettings settings;
    const auto result = store().load(settings);
    EXPECT_TRUE(result.firstRun);
    EXPECT_FALSE(result.repaired) << result.failedValue.toStdString();
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();

    for (const StoredValue& v : kDefaults)
        expectStored(v);
    EXPECT_FALSE(opened(SettingsStore::kProgramKey).readString(QStringLiteral("FVBrowserWebStr"))->isEmpty());
    EXPECT_EQ(opened(SettingsStore::kProgramKey).valueNames(), kProgramKeyWriteOrder);
    EXPECT_EQ(stem("Mask", QStringLiteral("Mask")), AppSettings::builtInMasks());
    EXPECT_EQ(AppSettings::builtInMasks().size(), 38);
    EXPECT_TRUE(stem("MRUPath", QStringLiteral("MRUPath")).isEmpty());
}

TEST_F(SettingsStoreTest, StoredValuesAreReadBack)
{
    const QString folder = makeFolder(QStringLiteral("data/music"));
    AppSettings changed;
    changed.showHiddenSystemfiles = false;
    changed.currentItemSel = QStringLiteral("/data/a.txt");
    changed.modeCurrent = vmTextEditor;
    changed.pathWidth = 321;
    changed.colDateWidth = 77;
    changed.appState = int(StoredWindowState::Maximized);
    changed.textEditorFont = QStringLiteral("DejaVu Sans Mono");
    changed.hex = true;
    changed.spinViewDelay = 250;
    changed.animateStartup = false;
    changed.showZipEncryptStatus = true;
    changed.mruPaths = {folder, home().home()};
    changed.masks.append(QStringLiteral("*.ZZZ"));
    changed.maskIndex = 3;
    changed.fileStrIndex = 4;
    ASSERT_TRUE(store().save(changed));

    AppSettings read;
    const auto result = store().load(read);
    EXPECT_FALSE(result.firstRun);
    EXPECT_FALSE(result.repaired) << result.failedValue.toStdString();
    EXPECT_FALSE(read.showHiddenSystemfiles);
    EXPECT_EQ(read.currentItemSel, changed.currentItemSel);
    EXPECT_EQ(read.modeCurrent, vmTextEditor);
    EXPECT_EQ(read.pathWidth, 321);
    EXPECT_EQ(read.colDateWidth, 77);
    EXPECT_EQ(read.appState, 1);
    EXPECT_EQ(read.textEditorFont, changed.textEditorFont);
    EXPECT_TRUE(read.hex);
    EXPECT_EQ(read.spinViewDelay, 250);
    EXPECT_FALSE(read.animateStartup);
    EXPECT_TRUE(read.showZipEncryptStatus);
    EXPECT_EQ(read.mruPaths, changed.mruPaths);
    EXPECT_EQ(read.masks.size(), 39);
    EXPECT_EQ(read.masks.back(), QStringLiteral("*.ZZZ"));
    EXPECT_EQ(read.maskIndex, 3);
    EXPECT_EQ(read.fileStrIndex, 4);
}

// A file left by an earlier run, with every value of every group away from its default,
// is read and written back byte for byte: no value is lost, moved, retyped or mapped to
// another value's member.
TEST_F(SettingsStoreTest, AnExistingFileWithEveryValueChangedRoundTripsUnchanged)
{
    AppSettings first;
    ASSERT_TRUE(store().load(first).firstRun);
    const SettingsStore s = store();
    QStringList keys;
    for (const SettingsGroup& group : s.groups())
        keys << group.subkey;
    EXPECT_EQ(keys, (QStringList{QString(), QStringLiteral("Editor"), QStringLiteral("Viewer"), QStringLiteral("Options")}));
    edit([&](Registry& r) {
        int n = 1000;
        for (const SettingsGroup& group : s.groups()) {
            ASSERT_TRUE(r.openKey(group.subkey.isEmpty() ? SettingsStore::kProgramKey : SettingsStore::subkeyPath(group.subkey), false));
            for (const SettingField& field : group.readOrder) {
                const QString name = QLatin1String(field.name);
                if (std::holds_alternative<bool AppSettings::*>(field.member))
                    r.writeInteger(name, *r.readInteger(name) ? 0 : 1);
                else if (std::holds_alternative<int AppSettings::*>(field.member))
                    r.writeInteger(name, ++n);
                else
                    r.writeString(name, QStringLiteral("text %1").arg(++n));
            }
            r.closeKey();
        }
        for (const char* key : {"Mask", "MRUEXT", "MRURun", "MRUFind", "MRURepl", "MRUFindFile"}) {
            r.openKey(SettingsStore::subkeyPath(QLatin1String(key)), false);
            for (const QString& name : r.valueNames()) {
                if (name.endsWith(QLatin1String("Index")))
                    r.writeInteger(name, ++n);
            }
            r.closeKey();
        }
    });
    const QByteArray before = [this] {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    AppSettings read;
    const auto result = s.load(read);
    EXPECT_FALSE(result.repaired) << result.failedValue.toStdString();
    ASSERT_TRUE(s.save(read));
    QFile after(path());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

struct FaultCase {
    const char* fault;
    const char* subkey;
    const char* name;
    std::function<void(Registry&, const QString&)> damage;
    Expected restored;       // the default written back in place of the faulty value
    bool showNextFileRead;   // ShowNextFile comes before the fault
};

// A value missing or stored under the wrong type ends the load: what was read before it is
// kept, what follows gets its default, and the whole state is written back.
TEST_F(SettingsStoreTest, FaultyValueEndsTheLoadAndTheStateIsWrittenBack)
{
    const auto remove = [](Registry& r, const QString& name) { r.deleteValue(name); };
    const auto asText = [](Registry& r, const QString& name) { r.writeString(name, QStringLiteral("1")); };
    const auto asBytes = [](Registry& r, const QString& name) { r.writeBinary(name, QByteArray("\x01", 1)); };
    const auto asNumber = [](Registry& r, const QString& name) { r.writeInteger(name, 5); };
    const FaultCase cases[] = {
        {"deleted boolean", "Options", "AnimateStartup", remove, 1, true},
        {"boolean stored as text", "Options", "AnimateStartup", asText, 1, true},
        {"integer stored as bytes", "Options", "MovieRes", asBytes, 4, false},
        {"string stored as a number", "Viewer", "FileViewerFont", asNumber, "Terminal", false},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.fault);
        QFile::remove(path());
        const QString kept = makeFolder(QStringLiteral("kept"));
        AppSettings stored;
        stored.pathWidth = 300;           // program key, read before the fault
        stored.showNextFile = false;      // "Options", read before the fault
        stored.showZipEncryptStatus = true; // after the fault
        stored.maskIndex = 5;
        stored.findStrIndex = 3;
        stored.mruPaths = {kept, home().home()};
        stored.masks.prepend(QStringLiteral("*.aaa"));
        ASSERT_TRUE(store().save(stored));
        edit([&](Registry& r) {
            r.openKey(SettingsStore::subkeyPath(QStringLiteral("Mask")), false);
            r.writeString(QStringLiteral("Mask45"), QStringLiteral("*.high"));
            r.openKey(keyOf(c.subkey), false);
            c.damage(r, QLatin1String(c.name));
        });

        AppSettings read;
        const auto result = store().load(read);
        EXPECT_TRUE(result.repaired);
        EXPECT_EQ(result.failedValue, QLatin1String(c.name));
        EXPECT_EQ(read.pathWidth, 300);
        EXPECT_EQ(read.showNextFile, !c.showNextFileRead);
        EXPECT_FALSE(read.showZipEncryptStatus);

        expectStored({c.subkey, c.name, c.restored});
        expectStored({"", "PathWidth", 300});
        expectStored({"Options", "ShowNextFile", c.showNextFileRead ? 0 : 1});
        expectStored({"Options", "ShowZipEncryptStatus", 0});
        expectStored({"Mask", "MaskIndex", 0});
        expectStored({"MRUFind", "FindStrIndex", 0});
        EXPECT_EQ(stem("MRUPath", QStringLiteral("MRUPath")), stored.mruPaths) << "stored recent folders stay";
        QStringList masks = stem("Mask", QStringLiteral("Mask"));
        EXPECT_EQ(masks.mid(0, 38), AppSettings::builtInMasks()) << "masks from index 0 are the built-in list";
        EXPECT_EQ(masks.size(), 39) << "the stored mask at index 38 stays";
        EXPECT_EQ(opened(keyOf("Mask")).readString(QStringLiteral("Mask45")), QStringLiteral("*.high"));

        AppSettings again;
        EXPECT_FALSE(store().load(again).repaired) << "the repaired store loads cleanly";
    }
}

TEST_F(SettingsStoreTest, MissingStringsAndSubkeysAreNoFault)
{
    AppSettings stored;
    stored.currentItemSel = QStringLiteral("/somewhere/file");
    stored.textEditorTabSize = 3;
    stored.fileViewerSize = 12;
    ASSERT_TRUE(store().save(stored));
    edit([](Registry& r) {
        r.openKey(SettingsStore::kProgramKey, false);
        r.deleteValue(QStringLiteral("FVCurrentItemSel"));
        r.deleteKey(SettingsStore::subkeyPath(QStringLiteral("Editor")));
        r.deleteKey(SettingsStore::subkeyPath(QStringLiteral("MRURun")));
    });
    AppSettings read;
    read.currentItemSel = QStringLiteral("not from the store");
    const auto result = store().load(read);
    EXPECT_FALSE(result.repaired) << result.failedValue.toStdString();
    EXPECT_TRUE(read.currentItemSel.isEmpty());
    EXPECT_EQ(read.textEditorTabSize, 8) << "a missing subkey keeps the defaults";
    EXPECT_EQ(read.fileViewerSize, 12) << "later subkeys are still read";
}

TEST_F(SettingsStoreTest, RecentFoldersThatNoLongerExistAreDroppedAtLoad)
{
    const QString a = makeFolder(QStringLiteral("a"));
    const QString b = makeFolder(QStringLiteral("b"));
    AppSettings stored;
    stored.mruPaths = {a, home().root() + QStringLiteral("/gone"), b, a};
    ASSERT_TRUE(store().save(stored));
    AppSettings read;
    store().load(read);
    EXPECT_EQ(read.mruPaths, (QStringList{a, b}));
    EXPECT_EQ(stem("MRUPath", QStringLiteral("MRUPath")).size(), 4) << "nothing is written while loading";
}

TEST_F(SettingsStoreTest, DamagedFileIsKeptAsideAndReported)
{
    const QByteArray damaged = "[Software\\QuorVel\\Folvane3\\Settings]\n\"AppTop\"=dword:zz\n";
    QDir().mkpath(QFileInfo(path()).absolutePath());
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    AppSettings read;
    const auto result = store().load(read);
    EXPECT_TRUE(result.firstRun);
    EXPECT_TRUE(result.error.contains(QLatin1String("line 2"))) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains(path() + QStringLiteral(".damaged"))) << result.error.toStdString();
    QFile aside(path() + QStringLiteral(".damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), damaged);
    expectStored({"", "AppTop", 0});
}

TEST_F(SettingsStoreTest, AutoStartFollowsTheOptionAndIsSkippedWithoutRights)
{
    SettingsStore withEntry(path(), QStringLiteral("FolVane III (File Manager Plus)"), QStringLiteral("/usr/bin/fv3"));
    AppSettings settings;
    settings.autoStartFolVane = true;
    settings.pathWidth = 280;

    // No autostart folder to open (it is a file here): everything else is still saved.
    makeFile(QStringLiteral("etc-xdg/autostart"), "blocked");
    EXPECT_TRUE(withEntry.save(settings));
    expectStored({"", "PathWidth", 280});
    expectStored({"Options", "AutoStartFolVane", 1});

    QFile::remove(home().systemConfigDir() + QStringLiteral("/autostart"));
    QDir().mkpath(RegistryRunKey::folder());
    ASSERT_TRUE(withEntry.save(settings));
    EXPECT_TRUE(QFile::exists(RegistryRunKey::entryPath()));
    settings.autoStartFolVane = false;
    ASSERT_TRUE(withEntry.save(settings));
    EXPECT_FALSE(QFile::exists(RegistryRunKey::entryPath()));
}

// A component's table registered with the store is written under its own key after the
// program's groups and read back in that order; a fault in it ends the load as anywhere.
TEST_F(SettingsStoreTest, ARegisteredGroupIsStoredAfterTheProgramsGroups)
{
    static const SettingField extra[] = {{"ExtraWidth", &AppSettings::pathWidth}, {"ExtraFont", &AppSettings::fileViewerFont}};
    SettingsStore withExtra(path());
    withExtra.registerGroup(SettingsGroup::of<AppSettings>("Extra", extra));
    AppSettings settings;
    settings.pathWidth = 333;
    settings.fileViewerFont = QStringLiteral("Mono");
    settings.maskIndex = 2;
    ASSERT_TRUE(withExtra.save(settings));
    expectStored({"Extra", "ExtraWidth", 333});
    expectStored({"Extra", "ExtraFont", "Mono"});
    expectStored({"Viewer", "FileViewerFont", "Mono"});

    edit([](Registry& r) {
        r.openKey(SettingsStore::subkeyPath(QStringLiteral("Extra")), false);
        r.writeString(QStringLiteral("ExtraWidth"), QStringLiteral("wide"));
    });
    AppSettings read;
    const auto result = withExtra.load(read);
    EXPECT_TRUE(result.repaired);
    EXPECT_EQ(result.failedValue, QStringLiteral("ExtraWidth"));
    EXPECT_EQ(read.fileViewerFont, QStringLiteral("Mono")) << "the program's groups come first";
    EXPECT_EQ(read.maskIndex, 0) << "the histories come after every group";
    AppSettings plain;
    EXPECT_FALSE(store().load(plain).repaired) << "a store without the group does not read it";
}

TEST_F(SettingsStoreTest, BandLayoutsAreKeptPerModeAsByteBlocks)
{
    const SettingsStore s = store();
    EXPECT_FALSE(s.loadBandLayout(vmFileManager)) << "no store yet";
    ASSERT_TRUE(s.saveBandLayout(vmFileManager, "zero"));
    ASSERT_TRUE(s.saveBandLayout(vmZipViewer, "six"));
    EXPECT_EQ(s.loadBandLayout(vmFileManager), QByteArray("zero"));
    EXPECT_EQ(s.loadBandLayout(vmZipViewer), QByteArray("six"));
    EXPECT_FALSE(s.loadBandLayout(vmTextEditor));
    Registry registry = opened(SettingsStore::subkeyPath(QStringLiteral("Coolbars")));
    EXPECT_EQ(registry.valueType(QStringLiteral("6")), RegistryValueType::Binary);
}

} // namespace
