// The web pane's first entry and a later page, in the real window built offscreen:
//
//   web-entry-ms <ms>     entering web mode with a local page until it has loaded (the
//                         engine and its profile start here)
//   later-page-ms <ms>    a second local page in the running pane until it has loaded
//   peak-rss-kb <kb>
//
// Usage: bench_web_entry SETTINGS_FILE PAGE1 PAGE2
// Run as root, the engine needs QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox (bench/webstart.sh).

#include "app/TFormMainFolvane3.h"
#include "internet/WebAddress.h"
#include "internet/ui/WebBrowserPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <functional>

#include <sys/resource.h>

namespace {

qint64 timeLoad(WebBrowserPane& pane, const std::function<void()>& start)
{
    QEventLoop loop;
    QObject::connect(&pane, &WebBrowserPane::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    start();
    loop.exec();
    return timer.elapsed();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_web_entry SETTINGS_FILE PAGE1 PAGE2\n");
        return 2;
    }
    TFormMainFolvane3 window(QString::fromLocal8Bit(argv[1]));
    window.show();
    QCoreApplication::processEvents();
    auto* pane = dynamic_cast<WebBrowserPane*>(window.pane(vmWebBrowser));
    const QString first = QString::fromLocal8Bit(argv[2]);
    const QString second = WebAddress::forLocalFile(QString::fromLocal8Bit(argv[3]));
    const qint64 entry = timeLoad(*pane, [&] { window.enterMode(vmWebBrowser, first); });
    const qint64 later = timeLoad(*pane, [&] { pane->NavigateTo(second); });
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("web-entry-ms %lld\nlater-page-ms %lld\npeak-rss-kb %ld\n", entry, later, usage.ru_maxrss);
    return 0;
}
