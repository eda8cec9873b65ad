#include "app/FolvaneApplication.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The web pane's engine shares the window's GL contexts; it must be said before the
    // application object exists (the engine itself starts only when the pane is first used).
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    return FolvaneApplication::run();
}
