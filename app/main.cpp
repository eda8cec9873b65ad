#include "app/FolvaneApplication.h"
#include "platform/FileName.h"

#include <QApplication>

#include <cstring>

int main(int argc, char** argv)
{
    // The web pane's engine shares the window's GL contexts; it must be said before the
    // application object exists (the engine itself starts only when the pane is first used).
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv; the paths left keep their bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << FileName::decode(argv[i], qsizetype(std::strlen(argv[i])));
    return FolvaneApplication::run(arguments);
}
