// folvane3-ctl: sends one command ("raise", "quit" or "ping") to the running instance of
// the current user. Exit code 0 when the instance answered, 1 when none runs, 2 on usage.
// Scripts use "quit" to end the program the way File / Exit does, so it saves its settings.
#include "app/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 || !QStringList{"raise", "quit", "ping"}.contains(args.first())) {
        std::fprintf(stderr, "usage: folvane3-ctl raise|quit|ping\n");
        return 2;
    }
    if (!SingleInstance::sendCommand(args.first().toUtf8())) {
        std::fprintf(stderr, "folvane3-ctl: no running instance answered\n");
        return 1;
    }
    return 0;
}
