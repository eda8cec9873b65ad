// The attribute and date tool, shortcuts and the new text file of paths: times through the
// time zone, attributes read back by outside tools (getfattr, the folder's ".hidden"),
// permission cases as an unprivileged user, shortcuts checked by desktop-file-validate.
#include "fileops/BatchLoop.h"
#include "fileops/tools/FileAttributeSetter.h"
#include "fileops/tools/FileToolBranches.h"
#include "fileops/tools/PathLists.h"
#include "platform/FileName.h"
#include "platform/Shell.h"

#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using ByteFiles::readFile;

QString runTool(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

QString fvtool()
{
    const QString bin = qEnvironmentVariable("FOLVANE_BIN_DIR");
    return (bin.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../bin") : bin) + QStringLiteral("/fvtool");
}

struct stat statOf(const QString& path)
{
    struct stat st {};
    ::lstat(FileName::encode(path).constData(), &st);
    return st;
}

TEST(FileTimeTest, WallClockToUtcThroughTheZone)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    const auto utc = [](const char* text) {
        return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toSecsSinceEpoch();
    };
    const struct {
        const char* local;
        const char* expectedUtc;
    } cases[] = {
        {"2026-01-15T12:00:00", "2026-01-15T11:00:00Z"},
        {"2026-07-15T12:00:01", "2026-07-15T10:00:00Z"}, // an odd second is truncated
        {"2026-03-29T02:30:00", "2026-03-29T01:30:00Z"}, // in the gap: 03:30 summer time
        {"2026-10-25T02:30:00", "2026-10-25T00:30:00Z"}, // twice: the first, in summer time
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.local);
        const QDateTime wall = QDateTime::fromString(QString::fromLatin1(c.local), Qt::ISODate);
        EXPECT_EQ(FileAttributeSetter::utcSeconds(wall, berlin), utc(c.expectedUtc));
    }
}

class FileAttributesToolTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        FileToolBranches::registerAll();
        m_file = makeFile(QStringLiteral("work/a.txt"), "a");
    }

    BatchLabels run(const QStringList& work)
    {
        BatchLoop loop(opChangeAttributes, work, m_options);
        loop.run();
        return loop.labels();
    }

    QString m_file;
    ConfirmResults m_options;
};

TEST_F(FileAttributesToolTest, DateThenReadOnlyHiddenAndArchive)
{
    m_options.dateTime = QDateTime(QDate(2020, 5, 4), QTime(10, 20, 31));
    m_options.readOnly = true;
    m_options.hidden = true;
    m_options.archive = true;
    EXPECT_EQ(run({m_file}).itemText, QString());
    const struct stat st = statOf(m_file);
    EXPECT_EQ(st.st_mode & S_IWUSR, 0u);
    EXPECT_EQ(qint64(st.st_mtime), FileAttributeSetter::utcSeconds(m_options.dateTime, QTimeZone::systemTimeZone()));
    EXPECT_EQ(st.st_mtime % 2, 0);
    EXPECT_EQ(readFile(FileName::encode(home().root()) + "/work/.hidden"), "a.txt\n");

    m_options.readOnly = false;
    m_options.hidden = false;
    EXPECT_EQ(run({m_file}).itemText, QString());
    EXPECT_NE(statOf(m_file).st_mode & S_IWUSR, 0u);
    EXPECT_EQ(readFile(FileName::encode(home().root()) + "/work/.hidden"), "");
}

TEST_F(FileAttributesToolTest, WhatCannotBeSetIsAnError)
{
    const QString dotName = makeFile(QStringLiteral("work/.profile"));
    m_options.dateTime = QDateTime::currentDateTime();
    EXPECT_EQ(run({dotName}).itemText, QStringLiteral("ERROR on ") + dotName) << "a dot name cannot be un-hidden";
    m_options.hidden = true;
    EXPECT_EQ(run({dotName}).itemText, QString());
    m_options.system = true;
    EXPECT_EQ(run({m_file}).itemText, QStringLiteral("ERROR on ") + m_file);
}

// The archive attribute as Samba keeps it, read back by getfattr.
TEST_F(FileAttributesToolTest, ArchiveInTheDosAttribute)
{
    const QString getfattr = QStandardPaths::findExecutable(QStringLiteral("getfattr"));
    if (getfattr.isEmpty())
        GTEST_SKIP() << "getfattr is not installed";
    m_options.dateTime = QDateTime::currentDateTime();
    m_options.archive = false;
    const QString line = run({m_file}).itemText;
    const QString value = runTool(getfattr, {QStringLiteral("--only-values"), QStringLiteral("--absolute-names"), QStringLiteral("-n"), QStringLiteral("user.DOSATTRIB"), m_file});
    if (line.startsWith(QLatin1String("ERROR")))
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    EXPECT_EQ(value, QStringLiteral("0x0"));
    m_options.archive = true;
    m_options.hidden = true;
    EXPECT_EQ(run({m_file}).itemText, QString());
    EXPECT_EQ(runTool(getfattr, {QStringLiteral("--only-values"), QStringLiteral("--absolute-names"), QStringLiteral("-n"), QStringLiteral("user.DOSATTRIB"), m_file}),
              QStringLiteral("0x22"));
}

// Root ignores the write bit: the read-only cases run fvtool as nobody.
TEST_F(FileAttributesToolTest, ReadOnlyWithDateAsAnUnprivilegedUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to change to another user";
    const QString folder = makeFolder(QStringLiteral("nobody"));
    const QString own = makeFile(QStringLiteral("nobody/own.txt"), "x");
    const QString others = makeFile(QStringLiteral("nobody/root.txt"), "x");
    ::chmod(FileName::encode(home().root()).constData(), 0755);
    ::chown(FileName::encode(folder).constData(), 65534, 65534);
    ::chown(FileName::encode(own).constData(), 65534, 65534);
    int exitCode = 0;
    const QStringList asNobody{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"), fvtool(),
                               QStringLiteral("filetool"), QStringLiteral("attrib"), QStringLiteral("--target"), folder,
                               QStringLiteral("--read-only"), QStringLiteral("--archive"), QStringLiteral("--date"),
                               QStringLiteral("2021-02-03 04:05:06")};
    const QString output = runTool(QStringLiteral("setpriv"), asNobody + QStringList{own}, &exitCode);
    EXPECT_EQ(exitCode, 0) << output.toStdString();
    EXPECT_EQ(statOf(own).st_mode & S_IWUSR, 0u);
    EXPECT_EQ(qint64(statOf(own).st_mtime),
              FileAttributeSetter::utcSeconds(QDateTime(QDate(2021, 2, 3), QTime(4, 5, 6)), QTimeZone::systemTimeZone()));
    // Another user's file: neither its time nor its mode can be changed.
    const QString refused = runTool(QStringLiteral("setpriv"), asNobody + QStringList{others}, &exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(refused.contains(QStringLiteral("ERROR on ") + others)) << refused.toStdString();
    EXPECT_NE(statOf(others).st_mode & S_IWUSR, 0u);
}

TEST_F(FileAttributesToolTest, ShortcutsAreValidDesktopEntries)
{
    const QString odd = FileName::decode(QByteArray(FileName::encode(home().root()) + "/work/caf\xe9 %1.txt"));
    ByteFiles::writeFile(FileName::encode(odd), "x");
    const QString links = makeFolder(QStringLiteral("links"));
    EXPECT_EQ(PathLists::makeShortcut(m_file, links), QString());
    EXPECT_EQ(PathLists::makeShortcut(odd, links), QString());
    EXPECT_EQ(PathLists::makeShortcut(m_file, links), QString()) << "an existing shortcut is replaced";
    EXPECT_EQ(ByteFiles::namesIn(links), (ByteFiles::Names{"a.desktop", "caf\xef\xbf\xbd %1.desktop"}));
    EXPECT_EQ(ShortcutTarget(links + QStringLiteral("/a.desktop")), m_file);
    EXPECT_EQ(ShortcutTarget(links + QStringLiteral("/caf\ufffd %1.desktop")), odd);
    EXPECT_TRUE(readFile(FileName::encode(links) + "/caf\xef\xbf\xbd %1.desktop").contains("caf%E9%20%251.txt"));
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    int exitCode = 0;
    for (const char* name : {"a.desktop", "caf\ufffd %1.desktop"}) {
        const QString output = runTool(validate, {links + QLatin1Char('/') + QString::fromUtf8(name)}, &exitCode);
        EXPECT_EQ(exitCode, 0) << output.toStdString();
    }
    EXPECT_EQ(PathLists::makeShortcut(m_file, home().root() + QStringLiteral("/missing")),
              QStringLiteral("Shortcut for ") + m_file + QStringLiteral(" failed."));
}

TEST_F(FileAttributesToolTest, NewTextFilesTakeTheFirstFreeName)
{
    const QString folder = home().root() + QStringLiteral("/work/");
    QString error;
    const QString first = PathLists::createNewTextFile(folder, "one\n", &error);
    const QString second = PathLists::createNewTextFile(folder, "two\n", &error);
    EXPECT_EQ(first, folder + QStringLiteral("Newtext.txt"));
    EXPECT_EQ(second, folder + QStringLiteral("Newtext0.txt"));
    EXPECT_EQ(readFile(FileName::encode(first)), "one\n");
    EXPECT_EQ(readFile(FileName::encode(second)), "two\n");
    EXPECT_EQ(ByteFiles::namesIn(folder), (ByteFiles::Names{"Newtext.txt", "Newtext0.txt", "a.txt"}));
    EXPECT_TRUE(PathLists::createNewTextFile(m_file, "x", &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
