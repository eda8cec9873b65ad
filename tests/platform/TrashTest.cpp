// Delete to the freedesktop Trash: the question, valid .trashinfo files that GLib's own
// trash code writes the same way, restoring by moving back, emptying, and deleting for good.
#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "platform/Trash.h"

#include "support/RootOnlyDrives.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TrashTest : public TempHomeTest {
protected:
    QString trash() { return home().dataHome() + QStringLiteral("/Trash"); }
    QByteArray infoOf(const QString& name)
    {
        QFile file(trash() + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Whether dir was made, on a file system other than the home's.
    bool onAnotherVolume(const QTemporaryDir& dir)
    {
        struct stat a {}, b {};
        return dir.isValid() && ::stat(QFile::encodeName(dir.path()).constData(), &a) == 0
            && ::stat(QFile::encodeName(home().home()).constData(), &b) == 0 && a.st_dev != b.st_dev;
    }
};

TEST_F(TrashTest, DeleteAsksThenMovesToTheHomeTrashWithValidInfo)
{
    const RootOnlyDrives drives(home().root());
    const QString file = makeFile(QStringLiteral("docs/a b%ü.txt"), "letter");
    const QString folder = makeFile(QStringLiteral("docs/sub/inner.txt"), "inner");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    prompter().answer(PromptButton::Yes);
    ASSERT_TRUE(RunTransfer(FileOperationKind::Delete, {file, QFileInfo(folder).path()}, {}));
    EXPECT_EQ(prompter().last().kind, PromptKind::Confirmation);
    EXPECT_EQ(prompter().last().text, QStringLiteral("Move 2 items to the Trash?"));
    EXPECT_EQ(prompter().last().caption, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(prompter().last().buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(folder).path()));

    const QByteArray info = infoOf(QStringLiteral("a b%ü.txt"));
    const QByteArray encoded = QFile::encodeName(QFileInfo(file).path()).toPercentEncoding("/") + "/a%20b%25%C3%BC.txt";
    EXPECT_TRUE(info.startsWith(QByteArray("[Trash Info]\nPath=" + encoded + "\nDeletionDate="))) << info.constData();
    const QList<TrashedItem> items = Trash::items(trash());
    ASSERT_EQ(items.size(), 2);
    for (const TrashedItem& item : items) {
        EXPECT_GE(item.deletionDate, before);
        EXPECT_LE(item.deletionDate, QDateTime::currentDateTime());
    }
    EXPECT_FALSE(Trash::isEmpty());

    // A second item of the same name gets its own name in the trash.
    const QString again = makeFile(QStringLiteral("docs/a b%ü.txt"), "second");
    prompter().answer(PromptButton::Yes);
    ASSERT_TRUE(RunTransfer(FileOperationKind::Delete, {again}, {}));
    EXPECT_EQ(prompter().last().text, QStringLiteral("Move \"a b%ü.txt\" to the Trash?"));
    EXPECT_FALSE(infoOf(QStringLiteral("a b%ü.2.txt")).isEmpty());

    // Restoring moves each item back where it came from, refusing to overwrite.
    for (const TrashedItem& item : Trash::items(trash())) {
        const Status restored = Trash::restore(item);
        if (item.name == QStringLiteral("a b%ü.txt"))
            EXPECT_FALSE(restored) << "the second one went back first";
        else
            EXPECT_TRUE(restored) << qPrintable(item.name + QLatin1Char(' ') + restored.errorString());
    }
    QFile restored(again);
    ASSERT_TRUE(restored.open(QIODevice::ReadOnly));
    EXPECT_EQ(restored.readAll(), "second");
    EXPECT_TRUE(QFileInfo::exists(folder));

    const Status emptied = Trash::empty();
    ASSERT_TRUE(emptied) << qPrintable(emptied.describe());
    EXPECT_TRUE(Trash::isEmpty());
    EXPECT_TRUE(QDir(trash() + QStringLiteral("/info")).isEmpty());
}

TEST_F(TrashTest, AnsweringNoDeletesNothing)
{
    const QString file = makeFile(QStringLiteral("keep.txt"), "x");
    prompter().answer(PromptButton::No);
    const FileOperationResult result = RunFileOperation(FileOperationKind::Delete, {file}, {});
    EXPECT_TRUE(result.aborted);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(TrashTest, DeleteWithoutUndoRemovesForGood)
{
    const QString folder = QFileInfo(makeFile(QStringLiteral("gone/a/b.txt"), "x")).path();
    QFile::link(QStringLiteral("/"), folder + QStringLiteral("/root-link")); // must not be followed
    prompter().answer(PromptButton::Yes);
    ASSERT_TRUE(RunTransfer(FileOperationKind::Delete, {QFileInfo(folder).path()}, {}, FileOperationFlag::None));
    EXPECT_EQ(prompter().last().text, QStringLiteral("Permanently delete \"gone\"?\r\nIt cannot be restored."));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(folder).path()));
    EXPECT_FALSE(QFileInfo::exists(trash() + QStringLiteral("/info")));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/")));
}

TEST_F(TrashTest, InfoParserTakesOnlyWellFormedFiles)
{
    const struct {
        QByteArray text;
        bool valid;
        QString path;
    } cases[] = {
        {"[Trash Info]\nPath=/a/b%20c\nDeletionDate=2026-01-02T03:04:05\n", true, QStringLiteral("/a/b c")},
        {"# comment\n[Trash Info]\r\nPath=rel%2Fx\r\n", true, QStringLiteral("rel/x")},
        {"[Trash Info]\nPath=/a%FFb%C3%A4\n", true, FileName::decode("/a\xff" "b\xc3\xa4")},
        {"[Other]\nPath=/a\n", false, QString()},
        {"Path=/a\n[Trash Info]\n", false, QString()},
        {"[Trash Info]\nDeletionDate=2026-01-02T03:04:05\n", false, QString()},
        {"[Trash Info]\nPath=/a%00b\n", false, QString()},
        {QByteArray(70000, 'x'), false, QString()},
        {"", false, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(40).toStdString());
        QString path;
        QDateTime date;
        EXPECT_EQ(Trash::parseInfo(c.text, &path, &date), c.valid);
        if (c.valid) {
            EXPECT_EQ(path, c.path);
        }
    }
    QString path;
    QDateTime date;
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
    ASSERT_TRUE(Trash::parseInfo(Trash::infoText(QStringLiteral("/x/ä b"), when), &path, &date));
    EXPECT_EQ(path, QStringLiteral("/x/ä b"));
    EXPECT_EQ(date, when);
    // A name that is not UTF-8 is written as its percent-encoded bytes and read back as them.
    const QString odd = FileName::decode("/x/a\xff\xe9.txt");
    EXPECT_TRUE(Trash::infoText(odd, when).contains("\nPath=/x/a%FF%E9.txt\n"));
    ASSERT_TRUE(Trash::parseInfo(Trash::infoText(odd, when), &path, &date));
    EXPECT_EQ(FileName::encode(path), QByteArray("/x/a\xff\xe9.txt"));
}

// GLib's trash writes the bytes of a name that is not UTF-8; our items read them back exactly,
// and our own trashing of such a name writes the same Path.
TEST_F(TrashTest, GioAndWeAgreeOnANameThatIsNotUtf8)
{
    const RootOnlyDrives drives(home().root());
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        GTEST_SKIP() << "gio (libglib2.0-bin) is not installed";
    const QString folder = makeFolder(QStringLiteral("n"));
    const QByteArray base = FileName::encode(folder);
    for (const QByteArray& name : {QByteArray("theirs\xff"), QByteArray("ours\xff")})
        ASSERT_GE(::close(::open(QByteArray(base + '/' + name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)), 0);
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" trash \"$(printf 'theirs\\377')\""), gio});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    prompter().answer(PromptButton::Yes);
    ASSERT_TRUE(RunTransfer(FileOperationKind::Delete, {folder + QLatin1Char('/') + FileName::decode("ours\xff")}, {}));

    QList<QByteArray> originals;
    for (const TrashedItem& item : Trash::items(trash()))
        originals << FileName::encode(item.originalPath);
    std::sort(originals.begin(), originals.end());
    EXPECT_EQ(originals, (QList<QByteArray>{base + "/ours\xff", base + "/theirs\xff"}));
    EXPECT_TRUE(::access(QByteArray(FileName::encode(trash()) + "/files/ours\xff").constData(), F_OK) == 0);
    const Status emptied = Trash::empty();
    EXPECT_TRUE(emptied) << emptied.describe().toStdString();
    EXPECT_TRUE(Trash::items(trash()).isEmpty());
}

// GLib's trash (used by GNOME programs and `gio trash`) is an oracle no one here wrote: the
// item it trashes and ours must read the same.
TEST_F(TrashTest, GioWritesTheSameInfoAndWeReadIts)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        GTEST_SKIP() << "gio (libglib2.0-bin) is not installed";
    const QString theirs = makeFile(QStringLiteral("g/Ä & b+c.txt"), "theirs");
    const QString ours = makeFile(QStringLiteral("o/Ä & b+c.txt"), "ours");
    QProcess process;
    process.start(gio, {QStringLiteral("trash"), theirs});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    prompter().answer(PromptButton::Yes);
    ASSERT_TRUE(RunTransfer(FileOperationKind::Delete, {ours}, {}));

    QByteArray gioPath;
    QByteArray ourPath;
    for (const QString& name : QDir(trash() + QStringLiteral("/info")).entryList(QDir::Files)) {
        const QByteArray info = infoOf(name.chopped(10));
        const QByteArray line = info.mid(info.indexOf("Path="), info.indexOf('\n', info.indexOf("Path=")) - info.indexOf("Path="));
        (line.contains("/g/") ? gioPath : ourPath) = line;
    }
    ASSERT_FALSE(gioPath.isEmpty());
    EXPECT_EQ(ourPath.replace("/o/", "/g/"), gioPath);
    QStringList originals;
    for (const TrashedItem& item : Trash::items(trash()))
        originals << item.originalPath;
    originals.sort();
    EXPECT_EQ(originals, (QStringList{theirs, ours}));
}

} // namespace

namespace {

// An item on another volume goes to that volume's .Trash-$uid with a Path relative to the
// volume's top folder, never across volumes into the home trash.
TEST_F(TrashTest, ItemOnAnotherVolumeGoesToThatVolumesTrash)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/fvtrash-XXXXXX"));
    if (!onAnotherVolume(other))
        GTEST_SKIP() << "no second writable file system (/dev/shm)";
    const QString top = QStringLiteral("/dev/shm");
    const QString volumeTrash = top + QStringLiteral("/.Trash-") + QString::number(::getuid());
    const bool existed = QFileInfo::exists(volumeTrash);
    const QString file = other.filePath(QStringLiteral("on stick.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("far");
    }
    const Status trashed = Trash::moveToTrash(file);
    ASSERT_TRUE(trashed) << qPrintable(trashed.describe());
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(trash() + QStringLiteral("/info")));
    TrashedItem mine;
    for (const TrashedItem& item : Trash::items(volumeTrash)) {
        if (item.originalPath == file)
            mine = item;
    }
    ASSERT_FALSE(mine.name.isEmpty());
    QFile info(volumeTrash + QStringLiteral("/info/") + mine.name + QStringLiteral(".trashinfo"));
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QByteArray relative = QFile::encodeName(QDir(top).relativeFilePath(file)).toPercentEncoding("/");
    EXPECT_TRUE(info.readAll().contains(QByteArray("\nPath=" + relative + "\n")));
    const Status restored = Trash::restore(mine);
    EXPECT_TRUE(restored) << qPrintable(restored.describe());
    EXPECT_TRUE(QFileInfo::exists(file));
    if (!existed)
        QDir(volumeTrash).removeRecursively();
}

// An item reached through a linked folder lies on the volume the link points to: it goes to
// that volume's top trash (where file managers and the Empty Trash command look), not to a
// trash folder made inside the linked folder, and is restored to where it really was.
TEST_F(TrashTest, ItemBehindALinkedFolderGoesToTheTrashOfItsOwnVolume)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/fvtrash-XXXXXX"));
    if (!onAnotherVolume(other))
        GTEST_SKIP() << "no second writable file system (/dev/shm)";
    const QString volumeTrash = QStringLiteral("/dev/shm/.Trash-") + QString::number(::getuid());
    const bool existed = QFileInfo::exists(volumeTrash);
    const QString real = other.filePath(QStringLiteral("stick/photo.jpg"));
    QDir().mkpath(QFileInfo(real).path());
    {
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("far");
    }
    const QString link = makeFolder(QStringLiteral("links")) + QStringLiteral("/stick");
    ASSERT_TRUE(QFile::link(QFileInfo(real).path(), link));

    prompter().answer(PromptButton::Yes);
    ASSERT_TRUE(RunTransfer(FileOperationKind::Delete, {link + QStringLiteral("/photo.jpg")}, {}));
    EXPECT_FALSE(QFileInfo::exists(real));
    EXPECT_EQ(QDir(QFileInfo(real).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    TrashedItem mine;
    for (const TrashedItem& item : Trash::items(volumeTrash)) {
        if (item.originalPath == real)
            mine = item;
    }
    ASSERT_FALSE(mine.name.isEmpty());
    const Status restored = Trash::restore(mine);
    EXPECT_TRUE(restored) << qPrintable(restored.describe());
    EXPECT_TRUE(QFileInfo::exists(real));
    if (!existed)
        QDir(volumeTrash).removeRecursively();
}

} // namespace
