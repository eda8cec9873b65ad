// Emptying the temporary folder: what is refused outright, and what survives the walk
// (links are removed, never followed; sockets, FIFOs and files in use stay).
#include "platform/TempFolderCleaner.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

class TempFolderCleanerTest : public TempHomeTest {};

TEST_F(TempFolderCleanerTest, RefusesFoldersThatHoldTheUsersFiles)
{
    makeFolder(QStringLiteral("home/Documents"));
    const QString file = makeFile(QStringLiteral("home/tmp/file"));
    struct Case {
        QString folder;
        bool allowed;
    } cases[] = {
        {QString(), false},
        {QStringLiteral("/"), false},
        {home().home(), false},
        {home().home() + QStringLiteral("/"), false},
        {home().root(), false}, // above the home folder
        {home().dataHome(), false},
        {home().home() + QStringLiteral("/Documents"), false},
        {home().home() + QStringLiteral("/Documents/../Documents"), false},
        {file, false},
        {home().root() + QStringLiteral("/missing"), false},
        {home().home() + QStringLiteral("/tmp"), true},
    };
    for (const Case& c : cases) {
        const Status checked = TempFolderCleaner::check(c.folder);
        EXPECT_EQ(checked.ok(), c.allowed) << c.folder.toStdString() << ": " << checked.errorString().toStdString();
        if (!c.allowed)
            EXPECT_TRUE(checked.errorString().endsWith(QLatin1String("nothing was deleted."))) << c.folder.toStdString();
    }
    // A refused folder is never walked: the file in the home folder stays.
    EXPECT_FALSE(TempFolderCleaner::empty(home().home()));
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(TempFolderCleanerTest, DeletesOwnEntriesAndKeepsLinkTargetsSocketsPipesAndFilesInUse)
{
    const QString tmp = makeFolder(QStringLiteral("tmp"));
    makeFile(QStringLiteral("tmp/a.txt"), "a");
    makeFile(QStringLiteral("tmp/sub/deeper/c.txt"), "c");
    const QString kept = makeFile(QStringLiteral("kept.txt"), "keep me");
    const QString keptInside = makeFile(QStringLiteral("keptdir/inner.txt"), "keep me too");
    ASSERT_EQ(::symlink(kept.toUtf8().constData(), (tmp + QStringLiteral("/link-to-kept")).toUtf8().constData()), 0);
    ASSERT_EQ(::symlink((home().root() + QStringLiteral("/keptdir")).toUtf8().constData(),
                        (tmp + QStringLiteral("/link-to-dir")).toUtf8().constData()), 0);
    ASSERT_EQ(::mkfifo((tmp + QStringLiteral("/pipe")).toUtf8().constData(), 0600), 0);
    QLocalServer agent;
    ASSERT_TRUE(agent.listen(tmp + QStringLiteral("/agent.sock")));
    // A running process holds one file open and works in one folder.
    const QString held = makeFile(QStringLiteral("tmp/held.log"), "log");
    const QString work = makeFolder(QStringLiteral("tmp/work"));
    makeFile(QStringLiteral("tmp/work/scratch"), "s");
    QProcess holder;
    holder.setStandardInputFile(held);
    holder.setWorkingDirectory(work);
    holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());

    TempCleanCounts counts;
    const Status emptied = TempFolderCleaner::empty(tmp, &counts);
    holder.kill();
    holder.waitForFinished();

    EXPECT_TRUE(emptied) << emptied.errorString().toStdString();
    QStringList left = QDir(tmp).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{"agent.sock", "held.log", "pipe", "work"}));
    EXPECT_TRUE(QDir(work).entryList(QDir::Files).isEmpty()); // the folder in use stays, emptied
    EXPECT_TRUE(QFile::exists(kept));
    EXPECT_TRUE(QFile::exists(keptInside));
    EXPECT_EQ(counts.deleted, 7); // a.txt, c.txt, deeper, sub, two links, scratch
    EXPECT_EQ(counts.failed, 0);
    // The agent still answers.
    QLocalSocket client;
    client.connectToServer(tmp + QStringLiteral("/agent.sock"));
    EXPECT_TRUE(client.waitForConnected(2000));
}

TEST_F(TempFolderCleanerTest, TakesTheFolderFromTmpdir)
{
    qputenv("TMPDIR", "/var/tmp/x");
    EXPECT_EQ(TempFolderCleaner::temporaryFolder(), QStringLiteral("/var/tmp/x"));
    qunsetenv("TMPDIR");
    EXPECT_EQ(TempFolderCleaner::temporaryFolder(), QStringLiteral("/tmp"));
}
