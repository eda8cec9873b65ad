// Shell services: special folders from the XDG user dirs, opening and the verbs (through a
// fake launcher: no program is ever started), shortcut entries, the recently-used list and
// type names.
#include "platform/FileTypes.h"
#include "platform/Shell.h"

#include "support/FakeDrives.h"
#include "support/FakeLauncher.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

class ShellTest : public TempHomeTest {};

TEST_F(ShellTest, SpecialFoldersComeFromTheUserDirs)
{
    makeFile(QStringLiteral("home/.config/user-dirs.dirs"),
             "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_MUSIC_DIR=\"$HOME/\"\n");
    const QString home = QDir::homePath();
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Desktop), home + QStringLiteral("/Schreibtisch"));
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Documents), home + QStringLiteral("/Dokumente"));
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Music), QString()); // "the home itself" is no music folder
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::CommonDesktop), QString());
    const QString favorites = SpecialFolderPath(SpecialFolder::Favorites);
    EXPECT_EQ(favorites, home + QStringLiteral("/.local/share/QuorVel/Folvane3/Favorites"));
    EXPECT_TRUE(QFileInfo(favorites).isDir());
}

TEST_F(ShellTest, BrowseForFolderAsksThePicker)
{
    pickers().answer(home().home() + QStringLiteral("/chosen/"));
    EXPECT_EQ(BrowseForFolder(QStringLiteral("Browse"), home().home()), home().home() + QStringLiteral("/chosen"));
    pickers().answer(QString());
    EXPECT_EQ(BrowseForFolder(QStringLiteral("Browse"), home().home()), QString());
}

TEST_F(ShellTest, ExecuteChoosesTheProgramForEachVerbAndReportsFailures)
{
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open")).addProgram(QStringLiteral("lp")).addProgram(QStringLiteral("kfind"));
    const QString doc = makeFile(QStringLiteral("docs/letter.txt"), "text");
    const QString script = makeFile(QStringLiteral("bin/run.sh"), "#!/bin/sh\n");
    const QString fakeProgram = makeFile(QStringLiteral("docs/stick-file.txt"), "text with x bit");
    for (const QString& path : {script, fakeProgram})
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    const QString docs = QFileInfo(doc).path();

    const struct {
        QString verb, file, parameters;
        QString program;
        QStringList arguments;
        QString folder;
    } cases[] = {
        {QString(), doc, QString(), QStringLiteral("/usr/bin/xdg-open"), {doc}, docs},
        {QStringLiteral("Open"), docs, QString(), QStringLiteral("/usr/bin/xdg-open"), {docs}, docs},
        {QStringLiteral("Open"), QStringLiteral("https://example.org/a b"), QString(), QStringLiteral("/usr/bin/xdg-open"),
         {QStringLiteral("https://example.org/a b")}, QString()},
        {QString(), script, QStringLiteral("-v \"two words\""), script, {QStringLiteral("-v"), QStringLiteral("two words")}, QFileInfo(script).path()},
        {QString(), fakeProgram, QString(), QStringLiteral("/usr/bin/xdg-open"), {fakeProgram}, docs},
        {QStringLiteral("Print"), doc, QString(), QStringLiteral("/usr/bin/lp"), {QStringLiteral("--"), doc}, docs},
        {QStringLiteral("Find"), docs, QString(), QStringLiteral("/usr/bin/kfind"), {docs}, docs},
    };
    prompter().answer(PromptButton::Yes); // the script asks before it runs
    for (const auto& c : cases) {
        SCOPED_TRACE(QString(c.verb + QLatin1Char(' ') + c.file).toStdString());
        const ShellExecuteResult result = ShellExecute(c.verb, c.file, c.parameters);
        EXPECT_TRUE(result.accepted) << qPrintable(result.error);
        ASSERT_FALSE(launcher.launches().isEmpty());
        EXPECT_EQ(launcher.launches().last().program, c.program);
        EXPECT_EQ(launcher.launches().last().arguments, c.arguments);
        EXPECT_EQ(launcher.launches().last().workingFolder, c.folder);
    }
    const qsizetype started = launcher.launches().size();

    const struct {
        QString verb, file, error;
    } failures[] = {
        {QString(), docs + QStringLiteral("/missing.txt"), QStringLiteral("The specified file was not found.")},
        {QString(), docs + QStringLiteral("/nowhere/missing.txt"), QStringLiteral("The specified path was not found.")},
        {QStringLiteral("Print"), docs, QStringLiteral("There is no application associated with the given filename extension.")},
        {QStringLiteral("explore"), doc, QStringLiteral("The action \"explore\" is not supported.")},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.file.toStdString());
        const ShellExecuteResult result = ShellExecute(f.verb, f.file);
        EXPECT_FALSE(result.accepted);
        EXPECT_EQ(result.error, f.error);
    }
    EXPECT_EQ(launcher.launches().size(), started);

    FakeLauncher bare; // nothing installed
    EXPECT_EQ(ShellExecute(QString(), doc).error, QStringLiteral("There is no application associated with the given filename extension."));
    EXPECT_EQ(ShellExecute(QStringLiteral("Find"), docs).error, QStringLiteral("No file search program is installed."));
    bare.addProgram(QStringLiteral("xdg-open")).setFailStarts(QStringLiteral("Resource error"));
    EXPECT_EQ(ShellExecute(QString(), doc).error, QStringLiteral("Resource error"));
}

// Opening an executable file asks before it runs anything: No starts nothing (and leaves
// nothing to report), Yes starts the file itself with no shell between. A document that only
// has the execute bit (as on a FAT stick), and a script without it, open as documents.
TEST_F(ShellTest, OpeningAProgramAsksFirstAndRunsItWithoutAShell)
{
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open")).addProgram(QStringLiteral("sh"));
    const QString elf = home().root() + QStringLiteral("/stick/true");
    QDir().mkpath(QFileInfo(elf).path());
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/true"), elf));
    const struct {
        QString path;
        bool executable;
        bool asks;
    } cases[] = {
        {elf, true, true},
        {makeFile(QStringLiteral("stick/setup.sh"), "#!/bin/sh\necho hi\n"), true, true},
        {makeFile(QStringLiteral("stick/notes.txt"), "text, x bit from the stick"), true, false},
        {makeFile(QStringLiteral("stick/plain.sh"), "#!/bin/sh\necho hi\n"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QFile::Permissions base = QFile::ReadOwner | QFile::WriteOwner;
        QFile::setPermissions(c.path, c.executable ? base | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther : base);
        const QString folder = QFileInfo(c.path).path();
        prompter().clear();
        const qsizetype before = launcher.launches().size();
        if (!c.asks) {
            EXPECT_TRUE(ShellExecute(QStringLiteral("Open"), c.path).accepted);
            EXPECT_TRUE(prompter().records().isEmpty());
            ASSERT_EQ(launcher.launches().size(), before + 1);
            EXPECT_EQ(launcher.launches().last().program, QStringLiteral("/usr/bin/xdg-open"));
            EXPECT_EQ(launcher.launches().last().arguments, QStringList{c.path});
            continue;
        }
        prompter().answer(PromptButton::No);
        const ShellExecuteResult declined = ShellExecute(QStringLiteral("Open"), c.path);
        EXPECT_FALSE(declined.accepted);
        EXPECT_FALSE(declined.failed());
        EXPECT_EQ(launcher.launches().size(), before);
        ASSERT_EQ(prompter().records().size(), 1);
        EXPECT_EQ(prompter().last().kind, PromptKind::Confirmation);
        EXPECT_EQ(prompter().last().buttons, PromptButton::Yes | PromptButton::No);
        EXPECT_EQ(prompter().last().text, QStringLiteral("Run ") + QFileInfo(c.path).fileName() + QStringLiteral("?"));

        prompter().answer(PromptButton::Yes);
        EXPECT_TRUE(ShellExecute(QString(), c.path).accepted);
        ASSERT_EQ(launcher.launches().size(), before + 1);
        EXPECT_EQ(launcher.launches().last().program, c.path);
        EXPECT_EQ(launcher.launches().last().arguments, QStringList());
        EXPECT_EQ(launcher.launches().last().workingFolder, folder);
    }
}

TEST_F(ShellTest, ShortcutsAreDesktopEntriesThatReadBack)
{
    const QString folder = makeFolder(QStringLiteral("My Files/50% \"done\""));
    const QString program = makeFile(QStringLiteral("bin/tool $1.sh"), "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);

    const Result<QString> link = CreateShortcut(folder, QString(), home().home() + QStringLiteral("/Desktop/files.lnk"));
    EXPECT_EQ(link.value(), QString()) << "the Desktop folder does not exist yet";
    EXPECT_FALSE(link.errorString().isEmpty());
    makeFolder(QStringLiteral("home/Desktop"));
    const Result<QString> made = CreateShortcut(folder, QString(), home().home() + QStringLiteral("/Desktop/files.lnk"));
    const QString written = made.value();
    ASSERT_EQ(written, home().home() + QStringLiteral("/Desktop/files.desktop")) << qPrintable(made.errorString());
    EXPECT_EQ(ShortcutTarget(written), folder);
    QFile entry(written);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Link\n"));
    EXPECT_TRUE(QFileInfo(written).isExecutable());

    const QString app = CreateShortcut(program, folder, home().home() + QStringLiteral("/Desktop/tool")).value();
    EXPECT_EQ(ShortcutTarget(app), program);
    entry.close();
    entry.setFileName(app);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nType=Application\n"));
}

TEST_F(ShellTest, ShortcutReaderTakesOnlyItsGroup)
{
    const struct {
        QByteArray text;
        QString target;
    } cases[] = {
        {"[Desktop Entry]\nType=Link\nURL=file:///home/a%20b\n", QStringLiteral("/home/a b")},
        {"[Desktop Entry]\nType=Link\nURL=https://example.org/\n", QStringLiteral("https://example.org/")},
        {"[Desktop Entry]\nType=Application\nExec=\"/opt/my tool\" %f\n", QStringLiteral("/opt/my tool")},
        {"[Desktop Entry]\nType=Application\nExec=gedit %U\n", QStringLiteral("gedit")},
        {"[Other]\nType=Link\nURL=file:///x\n", QString()},
        {"[Desktop Entry]\nType=Directory\n", QString()},
        {"Type=Link\nURL=file:///x\n", QString()},
        {"", QString()},
        {QByteArray(70000, '['), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(50).toStdString());
        EXPECT_EQ(ShortcutTargetFromText(c.text), c.target);
    }
}

TEST_F(ShellTest, ClearingTheRecentListLeavesAnEmptyValidList)
{
    const QString path = makeFile(QStringLiteral("home/.local/share/recently-used.xbel"),
                                  "<?xml version=\"1.0\"?><xbel version=\"1.0\"><bookmark href=\"file:///secret.txt\"/></xbel>");
    const Status cleared = ClearRecentDocuments();
    ASSERT_TRUE(cleared) << qPrintable(cleared.describe());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("secret"));
    EXPECT_TRUE(text.contains("<xbel version=\"1.0\""));
    EXPECT_TRUE(text.trimmed().endsWith("</xbel>"));
}

TEST_F(ShellTest, TypeNamesByExtensionWithoutReadingFiles)
{
    const struct {
        const char* name;
        bool folder;
        const char* type;
        const char* icon;
    } cases[] = {
        {"/x/photo.PNG", false, "PNG image", "image-png"},
        {"/x/notes.txt", false, "Plain text document", "text-plain"},
        {"/x/data.qqzx", false, "QQZX File", "application-octet-stream"},
        {"/x/noextension", false, "File", "application-octet-stream"},
        {"/x/folder.png", true, "File Folder", "folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileTypeInfo info = FileTypes::of(QLatin1String(c.name), c.folder);
        EXPECT_EQ(info.typeName, QLatin1String(c.type));
        EXPECT_EQ(info.iconName, QLatin1String(c.icon));
    }
    // The cache answers the same for the same extension.
    EXPECT_EQ(FileTypes::typeName(QStringLiteral("/y/other.png"), false), QStringLiteral("PNG image"));
}

} // namespace

namespace {

// The volume of "/" and the volume of the home folder hold the running system: never handed
// to a disk utility, even with one installed.
TEST(DriveToolsTest, FormatRefusesTheSystemAndHomeVolumes)
{
    FakeDrives drives;
    drives.add({QStringLiteral("/"), QStringLiteral("ext4"), QStringLiteral("/dev/sda2"), 1 << 30, 1 << 29});
    drives.add({QStringLiteral("/srv/home"), QStringLiteral("ext4"), QStringLiteral("/dev/sda3"), 1 << 30, 1 << 29});
    drives.add({QStringLiteral("/media/stick"), QStringLiteral("vfat"), QStringLiteral("/dev/sdb1"), 1 << 30, 1 << 29});
    drives.apply();
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/srv/home/user");
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("gnome-disks"));
    const struct {
        const char* root;
        bool system;
    } cases[] = {{"/", true}, {"/srv/home", true}, {"/media/stick", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        const QString root = QLatin1String(c.root);
        EXPECT_EQ(IsSystemVolume(root), c.system);
        const Status formatted = FormatDrive(root);
        EXPECT_EQ(formatted.ok(), !c.system);
        if (c.system)
            EXPECT_EQ(formatted.errorString(), QStringLiteral("\"") + root + QStringLiteral("\" holds the running system and is not formatted."));
    }
    qputenv("HOME", home);
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_TRUE(launcher.launches().first().arguments.contains(QStringLiteral("/dev/sdb1")));
}

TEST(DriveToolsTest, FormatStartsTheDesktopsDiskUtilityOnTheDevice)
{
    FakeDrives drives;
    drives.add({QStringLiteral("/media/stick"), QStringLiteral("vfat"), QStringLiteral("/dev/sdb1"), 1 << 30, 1 << 29});
    drives.add({QStringLiteral("/mnt/nas"), QStringLiteral("nfs4"), QStringLiteral("nas:/vol"), 1 << 30, 0});
    drives.apply();
    FakeLauncher launcher;
    const Status missing = FormatDrive(QStringLiteral("/media/stick"));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.errorString(), QStringLiteral("No disk utility is installed to format drives (GNOME Disks or KDE Partition Manager)."));
    launcher.addProgram(QStringLiteral("gnome-disks"));
    EXPECT_TRUE(FormatDrive(QStringLiteral("/media/stick")));
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().arguments,
              (QStringList{QStringLiteral("--block-device"), QStringLiteral("/dev/sdb1"), QStringLiteral("--format-device")}));
    for (const char* notADrive : {"/mnt/nas", "/media/stick/folder"}) {
        const Status refused = FormatDrive(QLatin1String(notADrive));
        EXPECT_FALSE(refused);
        EXPECT_EQ(refused.errorString(), QStringLiteral("\"") + QLatin1String(notADrive) + QStringLiteral("\" is not a drive that can be formatted."));
    }
    EXPECT_EQ(launcher.launches().size(), 1);
}

} // namespace
