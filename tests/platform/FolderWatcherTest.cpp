// The folder watcher on the real kernel: changes made in a temporary folder by this process
// (as another program would) come out as events, renames paired; past the watch limit the
// essential folders keep their watches and the others are polled.
#include "platform/linux/FolderWatcher.h"

#include "platform/FileName.h"
#include "support/TempHome.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FolderWatcherTest : public TempHomeTest {
protected:
    // Collects events until one matching want arrives (or time runs out).
    QList<FolderEvent> eventsUntil(FolderWatcher& watcher, const std::function<bool(const FolderEvent&)>& want,
                                   int ms = 3000)
    {
        QList<FolderEvent> seen;
        bool found = false;
        auto c = QObject::connect(&watcher, &FolderWatcher::eventsArrived, [&](const QList<FolderEvent>& events) {
            for (const FolderEvent& e : events) {
                seen << e;
                found = found || want(e);
            }
        });
        QTest::qWaitFor([&] { return found; }, ms);
        QObject::disconnect(c);
        return seen;
    }

    void watch(FolderWatcher& watcher, const QStringList& essential, const QStringList& others = {})
    {
        QSignalSpy synced(&watcher, &FolderWatcher::synced);
        watcher.setFolders(essential, others);
        ASSERT_TRUE(synced.wait(3000));
    }
};

QByteArray bytesOf(const QString& path)
{
    return FileName::encode(path);
}

TEST_F(FolderWatcherTest, CreateWriteRenameDeleteAndTheFolderItself)
{
    const QString dir = makeFolder(QStringLiteral("shown"));
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.isValid());
    watch(watcher, {dir});

    const QString file = dir + QStringLiteral("/new \xe9.txt"); // decoded as text; bytes below
    const QString odd = FileName::decode(QByteArray(bytesOf(dir) + "/raw\xff.bin"));
    int fd = ::open(bytesOf(odd).constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
    auto seen = eventsUntil(watcher, [&](const FolderEvent& e) { return e.kind == FolderEvent::Kind::Written; });
    ASSERT_GE(seen.size(), 2);
    EXPECT_EQ(seen[0], (FolderEvent{FolderEvent::Kind::Created, odd, {}, false}));
    EXPECT_EQ(bytesOf(seen[0].path), bytesOf(dir) + "/raw\xff.bin");

    ASSERT_EQ(::rename(bytesOf(odd).constData(), bytesOf(file).constData()), 0);
    seen = eventsUntil(watcher, [](const FolderEvent& e) { return e.kind == FolderEvent::Kind::Renamed; });
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), (FolderEvent{FolderEvent::Kind::Renamed, odd, file, false}));

    ASSERT_EQ(::mkdir(bytesOf(dir + QStringLiteral("/sub")).constData(), 0755), 0);
    seen = eventsUntil(watcher, [](const FolderEvent& e) { return e.kind == FolderEvent::Kind::Created; });
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.last().isFolder);

    ASSERT_EQ(::unlink(bytesOf(file).constData()), 0);
    seen = eventsUntil(watcher, [](const FolderEvent& e) { return e.kind == FolderEvent::Kind::Deleted; });
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last().path, file);

    // Moved out of every watched folder: a deletion once the other half did not come.
    const QString outside = makeFolder(QStringLiteral("outside"));
    ASSERT_EQ(::rename(bytesOf(dir + QStringLiteral("/sub")).constData(), bytesOf(outside + QStringLiteral("/sub")).constData()), 0);
    seen = eventsUntil(watcher, [](const FolderEvent& e) { return e.kind == FolderEvent::Kind::Deleted; });
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), (FolderEvent{FolderEvent::Kind::Deleted, dir + QStringLiteral("/sub"), {}, true}));

    ASSERT_EQ(::rmdir(bytesOf(dir).constData()), 0);
    seen = eventsUntil(watcher, [](const FolderEvent& e) { return e.kind == FolderEvent::Kind::FolderGone; });
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last().path, dir);
}

TEST_F(FolderWatcherTest, PastTheLimitEssentialFoldersKeepWatchesAndOthersArePolled)
{
    const QString shown = makeFolder(QStringLiteral("shown"));
    const QString a = makeFolder(QStringLiteral("a"));
    const QString b = makeFolder(QStringLiteral("b"));
    FolderWatcher watcher;
    QSignalSpy limit(&watcher, &FolderWatcher::watchLimitReached);
    watcher.setWatchLimit(2);
    watch(watcher, {}, {a, b});
    EXPECT_EQ(watcher.polledFolders(), QStringList());
    // The listed folder arrives when every watch is taken: one of the others gives way.
    watch(watcher, {shown}, {a, b});
    EXPECT_TRUE(watcher.watchedFolders().contains(shown));
    EXPECT_EQ(watcher.watchedFolders().size(), 2);
    ASSERT_EQ(watcher.polledFolders().size(), 1);
    EXPECT_TRUE(limit.size() == 1 || limit.wait(1000));
    const QString polled = watcher.polledFolders().first();

    // The first poll takes the folder's stamp, a later one sees the change.
    QTest::qWait(FolderWatcher::kPollMs + 300);
    ASSERT_TRUE(QDir().mkdir(polled + QStringLiteral("/made")));
    const auto seen = eventsUntil(watcher, [](const FolderEvent& e) { return e.kind == FolderEvent::Kind::Polled; },
                                  3 * FolderWatcher::kPollMs);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), (FolderEvent{FolderEvent::Kind::Polled, polled, {}, true}));

    watch(watcher, {shown}, {});
    EXPECT_EQ(watcher.watchedFolders(), QStringList{shown});
    EXPECT_TRUE(watcher.polledFolders().isEmpty());
    EXPECT_EQ(limit.size(), 1); // said once
}

} // namespace
