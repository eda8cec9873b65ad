// The change notice bus: matching by event mask and folder, delivery on the UI thread only,
// and watchers that end with their receiver.
#include "platform/ChangeNotices.h"

#include "support/TempHome.h"

#include <QCoreApplication>
#include <QThread>

#include <thread>

namespace {

struct Received {
    QList<ChangeNotice> notices;
    bool offThread = false;
};

int watch(QObject* receiver, Received* into, ChangeEvents mask, const QString& folder, bool recursive)
{
    return ChangeNoticeBus::instance().registerWatcher(receiver, mask, folder, recursive, [into](const ChangeNotice& n) {
        into->notices << n;
        into->offThread = into->offThread || QThread::currentThread() != qApp->thread();
    });
}

TEST(ChangeNoticesTest, NoticesReachMatchingWatchersOnTheUiThread)
{
    QObject owner;
    Received flat, deep, dirsOnly;
    watch(&owner, &flat, ChangeEvent::AllEvents, QStringLiteral("/data/docs"), false);
    watch(&owner, &deep, ChangeEvent::AllEvents, QStringLiteral("/data/"), true);
    watch(&owner, &dirsOnly, ChangeEvent::UpdateDir, QStringLiteral("/data/docs"), true);

    std::thread worker([] {
        NotifyChange(ChangeEvent::UpdateDir, QStringLiteral("/data/docs"));
        NotifyChange(ChangeEvent::Create, QStringLiteral("/data/docs/new.txt"));
        NotifyChange(ChangeEvent::Create, QStringLiteral("/data/docs/sub/deeper.txt"));
        NotifyChange(ChangeEvent::RenameItem, QStringLiteral("/elsewhere/a"), QStringLiteral("/data/docs/a"));
        NotifyChange(ChangeEvent::Attributes, QStringLiteral("/data/docsx/b"));
    });
    worker.join();
    EXPECT_TRUE(flat.notices.isEmpty()); // nothing before the event loop runs
    QCoreApplication::processEvents();

    auto paths = [](const Received& r) {
        QStringList list;
        for (const ChangeNotice& n : r.notices)
            list << n.path;
        return list;
    };
    EXPECT_EQ(paths(flat), (QStringList{QStringLiteral("/data/docs"), QStringLiteral("/data/docs/new.txt"), QStringLiteral("/elsewhere/a")}));
    EXPECT_EQ(paths(deep).size(), 5);
    EXPECT_EQ(paths(dirsOnly), QStringList{QStringLiteral("/data/docs")});
    EXPECT_EQ(flat.notices[2].event, ChangeEvent::RenameItem);
    EXPECT_EQ(flat.notices[2].path2, QStringLiteral("/data/docs/a"));
    EXPECT_FALSE(flat.offThread || deep.offThread || dirsOnly.offThread);
}

TEST(ChangeNoticesTest, WatchersEndByDeregistrationOrWithTheirReceiver)
{
    Received kept, dropped, destroyed;
    QObject owner;
    watch(&owner, &kept, ChangeEvent::AllEvents, QStringLiteral("/"), true);
    const int id = watch(&owner, &dropped, ChangeEvent::AllEvents, QStringLiteral("/"), true);
    auto* shortLived = new QObject;
    watch(shortLived, &destroyed, ChangeEvent::AllEvents, QStringLiteral("/"), true);

    NotifyChange(ChangeEvent::UpdateDir, QStringLiteral("/tmp"));
    ChangeNoticeBus::instance().deregisterWatcher(id);
    delete shortLived;
    QCoreApplication::processEvents();
    EXPECT_EQ(kept.notices.size(), 1);
    EXPECT_TRUE(dropped.notices.isEmpty());
    EXPECT_TRUE(destroyed.notices.isEmpty());
}

} // namespace
