#include "app/FolvaneApplication.h"
#include "platform/FileName.h"

#include <QApplication>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv; the paths left keep their bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << FileName::decode(argv[i], qsizetype(std::strlen(argv[i])));
    return FolvaneApplication::run(arguments);
}
