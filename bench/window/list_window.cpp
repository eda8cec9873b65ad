// The file list window, built offscreen, listing one folder as a user opens it: the time to
// the first screen of rows (in their final order, the rows on screen with their size and
// date) and to the whole folder in the list, and the longest time the event loop did not
// answer meanwhile. One line per sort:
//
//   sort <name|size|date> first-screen <ms> whole <ms> longest-gap <ms>
//
// Each figure is the best of the runs (default 3) after one warm-up run (warm cache).
// Usage: bench_list_window FOLDER [RUNS]

#include "browse/FileSortOrder.h"
#include "browse/FileSorter.h"
#include "browse/TFileViewFol.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

struct Figures {
    double firstScreen = 0;
    double whole = 0;
    double longestGap = 0;
};

// Whether the rows on screen are final: the rows are ordered and each one shown has its details.
bool firstScreenShown(TFileViewFol& list, bool rowsListed)
{
    if (!rowsListed)
        return false;
    QAbstractItemView* view = list.currentView();
    const int rows = list.model().rowCount();
    if (rows == 0)
        return !list.isLoading();
    const QModelIndex top = view->indexAt(QPoint(2, 2));
    QModelIndex bottom = view->indexAt(QPoint(2, view->viewport()->height() - 2));
    const int first = top.isValid() ? top.row() : 0;
    const int last = bottom.isValid() ? bottom.row() : rows - 1;
    for (int row = first; row <= last; ++row) {
        if (!list.model().listing().at(row).hasDetails)
            return false;
    }
    return true;
}

Figures listOnce(TFileViewFol& list, const QString& folder)
{
    Figures figures;
    QElapsedTimer clock;
    QEventLoop loop;
    bool rowsListed = false;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, &list, [&] {
        figures.longestGap = std::max(figures.longestGap, double(clock.elapsed() - lastTick));
        lastTick = clock.elapsed();
    });
    auto check = [&] {
        if (figures.firstScreen == 0 && firstScreenShown(list, rowsListed)) {
            list.currentView()->viewport()->repaint();
            figures.firstScreen = clock.nsecsElapsed() / 1e6;
        }
    };
    const FileListModel& model = list.model();
    QList<QMetaObject::Connection> connections{
        QObject::connect(&list, &TFileViewFol::rowsListed, &list, [&] { rowsListed = true; check(); }),
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &list, check),
        QObject::connect(&list, &TFileViewFol::loaded, &list, [&] {
            check();
            list.currentView()->viewport()->repaint();
            figures.whole = clock.nsecsElapsed() / 1e6;
            loop.quit();
        }),
    };
    clock.start();
    ticker.start();
    list.setDirectoryDirect(folder);
    list.RefreshList();
    loop.exec();
    figures.longestGap = std::max(figures.longestGap, double(clock.elapsed() - lastTick));
    for (const QMetaObject::Connection& connection : connections)
        QObject::disconnect(connection);
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    TFileViewFol list;
    list.resize(900, 700);
    list.show();
    struct Sort {
        const char* name;
        int column;
    } sorts[] = {{"name", FileSorter::NameColumn}, {"size", FileSorter::SizeColumn}, {"date", FileSorter::DateColumn}};
    for (const Sort& sort : sorts) {
        FileSortOrder::FileSortIndex = sort.column;
        FileSortOrder::DecendSort = true;
        listOnce(list, folder); // warm-up: caches, icons, type names
        Figures best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
        for (int run = 0; run < runs; ++run) {
            const Figures figures = listOnce(list, folder);
            best.firstScreen = std::min(best.firstScreen, figures.firstScreen);
            best.whole = std::min(best.whole, figures.whole);
            best.longestGap = std::min(best.longestGap, figures.longestGap);
        }
        std::printf("sort %s first-screen %.1f whole %.1f longest-gap %.1f rows %d\n", sort.name, best.firstScreen,
                    best.whole, best.longestGap, list.model().rowCount());
        std::fflush(stdout);
    }
    return 0;
}
