// fvtool COMMAND [ARGS...]: runs one engine of Folvane III from the command line, for
// scripts, benchmarks and interop tests. This is the Qt program behind the fvtool launcher,
// built twice: fvtool-full with every command, fvtool-light with the light ones.
#include "Command.h"
#ifdef FVTOOL_HANDS_OVER
#include "HandOver.h"
#endif

#include "platform/FileName.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
#ifdef FVTOOL_HANDS_OVER
    // A command this program does not hold, and the list of all commands, come from
    // fvtool-full; when it cannot be run, the usage below lists the commands held here.
    if (argc < 2 || !fvtool::commands().contains(QString::fromLocal8Bit(argv[1]))) {
        const std::string failure = fvtool::handOver("fvtool-full", argv);
        std::fprintf(stderr, "%s\n", failure.c_str());
    }
#endif
    // Fonts need a GUI application; the offscreen platform needs no display.
    const bool drawing = argc > 1 && fvtool::drawsText(argv[1]);
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(drawing ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    // Taken from argv through the file name codec: arguments() would decode a path that is
    // not UTF-8 into another one.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << FileName::decode(argv[i], qsizetype(std::strlen(argv[i])));
    const auto& table = fvtool::commands();
    if (args.isEmpty() || args.first() == QLatin1String("--help") || !table.contains(args.first())) {
        fvtool::err(QStringLiteral("usage: fvtool COMMAND [ARGS...]; commands:"));
        for (const auto& [name, command] : table)
            fvtool::err(QStringLiteral("  fvtool ") + QString::fromLatin1(command.usage));
        return 2;
    }
    const QString name = args.takeFirst();
    return table.at(name).run(args);
}
