// The main window's idle handler and the View decision, measured in the real window built
// offscreen over a listed folder:
//
//   idle passes <n> median-us <us> p99-us <us>
//   view-decision file <bytes> median-us <us> max-us <us>
//   peak-rss-kb <kb>
//
// The idle passes run with nothing changed (the folder listed, one item selected), as the
// event loop calls the handler between events. The View decision is the window's own
// (ChooseView with the desktop's associations and the MIME database loaded beforehand).
// Usage: bench_idle_window SETTINGS_FILE FOLDER BIG_FILE [PASSES]

#include "app/AppSettings.h"
#include "app/MainWindowControls.h"
#include "app/MainWindowIdle.h"
#include "app/SettingsStore.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TFileViewFol.h"
#include "viewers/DesktopAssociations.h"
#include "viewers/ViewDecision.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

double percentile(std::vector<qint64> samples, double p)
{
    std::sort(samples.begin(), samples.end());
    const size_t index = std::min(samples.size() - 1, size_t(p * double(samples.size())));
    return double(samples[index]) / 1000.0;
}

void waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bench_idle_window SETTINGS_FILE FOLDER BIG_FILE [PASSES]\n");
        return 2;
    }
    const QString folder = args[2];
    const int passes = args.size() > 4 ? args[4].toInt() : 10000;
    AppSettings stored;
    stored.currentItemSel = folder;
    stored.animateStartup = false;
    stored.fv3sounds = false;
    SettingsStore(args[1]).save(stored);

    TFormMainFolvane3 window(args[1]);
    window.show();
    TFileViewFol* list = window.controls().FileViewFol1;
    // The whole folder in the list: its listing finished and nothing is being read.
    const QString wanted = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    waitFor([&] { return list->Directory() == wanted && !list->isLoading() && list->model().rowCount() > 0; }, 300000);
    list->SelectFileInList(list->model().index(list->model().rowCount() / 2, 0).data(FileListModel::FullPathRole).toString());
    // Let the caches settle: the folder facts arrive from their worker.
    waitFor([] { return false; }, 500);

    MainWindowIdle& idle = window.idle();
    std::vector<qint64> samples;
    samples.reserve(size_t(passes));
    QElapsedTimer timer;
    for (int i = 0; i < passes; ++i) {
        timer.start();
        idle.UpdateControlStates();
        samples.push_back(timer.nsecsElapsed());
    }
    std::printf("idle passes %d rows %d median-us %.2f p99-us %.2f\n", passes, list->model().rowCount(),
                percentile(samples, 0.5), percentile(samples, 0.99));

    const QString big = args[3];
    const DesktopAssociations& associations = DesktopAssociations::instance();
    samples.clear();
    // One untimed decision first: the shared MIME database is loaded once per process.
    (void)ChooseView(big, ViewRule::View, true, associations);
    for (int i = 0; i < 200; ++i) {
        timer.start();
        const ViewChoice choice = ChooseView(big, ViewRule::View, true, associations);
        samples.push_back(timer.nsecsElapsed());
        if (i == 0)
            std::printf("view-decision choice %s\n", qPrintable(choice.describe()));
    }
    std::printf("view-decision median-us %.2f max-us %.2f\n", percentile(samples, 0.5), percentile(samples, 1.0));
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak-rss-kb %ld\n", usage.ru_maxrss);
    return 0;
}
