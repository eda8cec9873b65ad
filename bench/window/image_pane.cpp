// Showing a JPEG in the image viewer pane at a decoding scale: from entering the pane to the
// first paint of the picture (the decode runs on the pane's worker). Prints the best of RUNS
// (default 5):
//
//   image-pane scale 1:<n> size <w>x<h> first-paint <ms>
//
// Usage: bench_image_pane FILE SCALE_INDEX [RUNS]   (SCALE_INDEX 0 to 3: 1:1 to 1:8)

#include "support/FakeWindowContext.h"
#include "viewers/ui/ImageViewerPane.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>

#include <algorithm>
#include <cstdio>
#include <limits>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_image_pane FILE SCALE_INDEX [RUNS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int scaleIndex = std::clamp(std::atoi(argv[2]), 0, 3);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    QMainWindow window;
    FakeWindowContext context(&window);
    auto* scale = new QComboBox(&window);
    scale->addItems({QStringLiteral("1:1"), QStringLiteral("1:2"), QStringLiteral("1:4"), QStringLiteral("1:8")});
    scale->setCurrentIndex(scaleIndex);
    auto* pane = new ImageViewerPane(context, scale, &window);
    window.setCentralWidget(pane);
    window.resize(1024, 768);
    window.show();
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < runs; ++run) {
        pane->leave();
        QEventLoop loop;
        QObject::connect(pane, &ImageViewerPane::pictureShown, &loop, &QEventLoop::quit);
        QObject::connect(pane, &ImageViewerPane::loadFailed, &loop, [&loop] { loop.exit(1); });
        QElapsedTimer timer;
        timer.start();
        pane->enter(path);
        if (loop.exec() != 0)
            return 1;
        pane->viewport()->repaint();
        best = std::min(best, timer.elapsed());
    }
    const QImage& image = pane->picture().image;
    std::printf("image-pane scale 1:%d size %dx%d first-paint %lld\n", 1 << scaleIndex, image.width(), image.height(), static_cast<long long>(best));
    return 0;
}
