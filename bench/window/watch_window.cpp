// Change watching in the real main window, built offscreen over an empty folder:
//
//   latency runs <n> median-ms <ms> max-ms <ms>       a file made by another process (touch)
//                                                     until its row is in the list
//   burst files <n> reloads <n> worst-gap-ms <ms>     an archive unpacked by tar into the shown
//                                                     folder: list reloads paid, and the longest
//                                                     the event loop went without answering
//   idle folders <n> cpu-ms <ms> seconds <s>          CPU used by the program with n folders
//                                                     watched and nothing changing
//   peak-rss-kb <kb>
//
// Usage: bench_watch_window SETTINGS_FILE FOLDER ARCHIVE.tar IDLE_FOLDERS_PARENT

#include "app/AppSettings.h"
#include "app/MainWindowControls.h"
#include "app/MainWindowWatch.h"
#include "app/SettingsStore.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TFileViewFol.h"
#include "fileops/TShellNotification.h"
#include "platform/linux/FolderWatcher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

// Runs the event loop (sleeping when there is nothing to do, as the program does) until done
// or timeoutMs passed; done is asked every 2 ms.
void waitFor(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(2);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

void idleFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool listed(TFileViewFol* list, const QString& path)
{
    const FileListModel& model = list->model();
    for (int r = model.rowCount() - 1; r >= 0; --r) {
        if (model.index(r, 0).data(FileListModel::FullPathRole).toString() == path)
            return true;
    }
    return false;
}

double cpuMs()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3
        + usage.ru_stime.tv_usec / 1e3;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: bench_watch_window SETTINGS_FILE FOLDER ARCHIVE.tar IDLE_FOLDERS_PARENT\n");
        return 2;
    }
    const QString folder = args[2];
    AppSettings stored;
    stored.currentItemSel = folder;
    stored.currentPathSel = folder + QLatin1Char('/');
    stored.animateStartup = false;
    stored.fv3sounds = false;
    SettingsStore(args[1]).save(stored);

    TFormMainFolvane3 window(args[1]);
    window.show();
    TFileViewFol* list = window.controls().FileViewFol1;
    waitFor([&] { return list->Directory() == folder + QLatin1Char('/') && !list->isLoading(); }, 60000);
    idleFor(500); // the watches in place

    std::vector<double> latencies;
    QElapsedTimer timer;
    for (int i = 0; i < 15; ++i) {
        const QString path = folder + QStringLiteral("/made") + QString::number(i);
        timer.start();
        QProcess::startDetached(QStringLiteral("touch"), {path});
        waitFor([&] { return listed(list, path); }, 5000);
        latencies.push_back(timer.nsecsElapsed() / 1e6);
        idleFor(400); // apart, as a user makes files
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("latency runs %zu median-ms %.1f max-ms %.1f\n", latencies.size(), latencies[latencies.size() / 2],
                latencies.back());

    // The burst: tar runs while the event loop is timed by a 10 ms ticker.
    int reloads = 0;
    QObject::connect(&window.watch(), &MainWindowWatch::refreshed, [&](RefreshLevel level) {
        if (level != RefreshLevel::None)
            ++reloads;
    });
    QElapsedTimer tick;
    qint64 worstGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        worstGap = std::max(worstGap, tick.restart());
    });
    QProcess tar;
    tar.setWorkingDirectory(folder);
    tick.start();
    ticker.start();
    tar.start(QStringLiteral("tar"), {QStringLiteral("xf"), args[3]});
    waitFor([&] { return tar.state() == QProcess::NotRunning; }, 300000);
    idleFor(2500); // the last reloads owed
    ticker.stop();
    std::printf("burst files %d reloads %d worst-gap-ms %lld\n", list->model().rowCount() - 15,
                reloads, (long long)worstGap);

    // Idle: many folders watched, nothing changing.
    QStringList many;
    for (const QString& name : QDir(args[4]).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        many << args[4] + QLatin1Char('/') + name;
    window.watch().ShellNotification1().setShownFolders({folder}, many);
    waitFor([&] { return window.watch().ShellNotification1().folderWatcher().watchedFolders().size() > many.size(); },
            30000);
    const double cpuBefore = cpuMs();
    idleFor(5000);
    std::printf("idle folders %lld cpu-ms %.1f seconds 5\n", (long long)many.size(), cpuMs() - cpuBefore);

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak-rss-kb %ld\n", usage.ru_maxrss);
    return 0;
}
