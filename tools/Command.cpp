#include "Command.h"

#include "platform/FileName.h"

#include <cstdio>

namespace fvtool {

std::map<QString, Command>& commands()
{
    static std::map<QString, Command> table;
    return table;
}

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFunction run, bool drawsText)
{
    commands().emplace(QString::fromLatin1(name), Command{usage, std::move(run), drawsText});
}

bool drawsText(const char* argument)
{
    const auto found = commands().find(QString::fromLocal8Bit(argument));
    return found != commands().end() && found->second.drawsText;
}

void out(const QString& line)
{
    const QByteArray bytes = FileName::encode(line);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void err(const QString& line)
{
    const QByteArray bytes = FileName::encode(line);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

} // namespace fvtool
