#include "support/WebEngineEnvironment.h"

#include <QCoreApplication>

void prepareWebEngineForTests()
{
    // CI runs as root, and the engine's sandbox refuses to start for root: the tests switch
    // it off (the program itself keeps it). The offscreen platform has no GPU: the engine
    // renders in software.
    // No test reaches outside the machine (entering the web pane with an empty history goes to
    // the home page): every address but the loopback one goes to a proxy on a closed local
    // port and fails at once.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--no-sandbox --disable-gpu --disable-gpu-compositing --proxy-server=127.0.0.1:9");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine shares the application's GL contexts, which must be said before the
    // QApplication exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
}
