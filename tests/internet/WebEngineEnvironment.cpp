// What the web engine needs to run in the test programs, set before anything starts it.
// CI runs as root, and the engine's sandbox refuses to start for root: the sandbox is
// switched off for the tests (the program itself keeps it). The offscreen platform has no
// GPU: the engine renders in software. The engine shares the GL contexts of the
// application, which must be said before the QApplication exists, so a static object of
// this file does all of it before main() runs.
#include <QCoreApplication>

namespace {

struct WebEngineEnvironment {
    WebEngineEnvironment()
    {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu --disable-gpu-compositing");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qputenv("QT_QUICK_BACKEND", "software");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    }
};

const WebEngineEnvironment environment;

} // namespace
