// fvtool COMMAND [ARGS...]: runs one engine of Folvane III from the command line, for
// scripts, benchmarks and interop tests.
#include "Command.h"

#include "platform/FileName.h"

#include <QCoreApplication>

#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
