// fvtool COMMAND [ARGS...]: runs one engine of Folvane III from the command line, for
// scripts, benchmarks and interop tests.
#include "Command.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
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
