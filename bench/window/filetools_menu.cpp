// Opening the File Tools menu and the list popup with every row of a big folder selected:
// the captions count the selection and nothing is read from the disk, so the time must not
// grow with what lies below the selection. Prints the best of RUNS (default 5) openings:
//
//   menu-open rows <n> selected <n> file-tools <ms> popup-file-tools-items <ms> whole-popup <ms>
//
// (the whole list popup also runs the transfer commands' own enabling).
//
// Usage: bench_filetools_menu FOLDER [RUNS]

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "fileops/ui/FileToolsMenus.h"
#include "fileops/ui/TransferMenus.h"
#include "support/FakeWindowContext.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

// The time one menu takes to open: its aboutToShow handlers, as the menu bar runs them.
double timed(const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
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
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QMainWindow window;
    FakeWindowContext context(&window);
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* tree = new TPathViewFol(central);
    auto* list = new TFileViewFol(central);
    layout->addWidget(tree);
    layout->addWidget(list);
    window.setCentralWidget(central);
    tree->setNavigator(&context.navigator());
    list->setNavigator(&context.navigator());
    TransferMenus transfer(context);
    transfer.setPanes(tree, list);
    FileToolsMenus tools(context, transfer);
    tools.setList(list);
    window.resize(900, 700);
    window.show();

    QEventLoop loop;
    QObject::connect(list, &TFileViewFol::loaded, &loop, &QEventLoop::quit);
    tree->setCurrentFolder(folder);
    list->setDirectoryDirect(folder);
    list->RefreshList();
    loop.exec();
    list->currentView()->setFocus();
    list->currentView()->selectAll();

    double menu = std::numeric_limits<double>::max();
    double items = menu;
    double popup = menu;
    for (int run = 0; run < runs; ++run) {
        menu = std::min(menu, timed([&] { Q_EMIT context.menu(MainMenu::FileTools)->aboutToShow(); }));
        items = std::min(items, timed([&] { tools.PopupMenuFilePopup(); }));
        popup = std::min(popup, timed([&] { Q_EMIT transfer.PopupMenuFile()->aboutToShow(); }));
    }
    std::printf("menu-open rows %d selected %lld file-tools %.1f popup-file-tools-items %.1f whole-popup %.1f\n",
                list->model().rowCount(), static_cast<long long>(list->selectedRows().size()), menu, items, popup);
    return 0;
}
