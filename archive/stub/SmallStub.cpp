// fv3smallstub.exe: extracts the archive appended to itself into the current folder,
// asking for a password and before overwriting on the terminal.
#include "StubSession.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::string readLine(bool hidden)
{
    termios saved {};
    const bool tty = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (tty && hidden) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (tty && hidden) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputs("\n", stderr);
    }
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool overwriteAll = false;
    StubSession session;
    session.askPassword = [](QString& password) {
        std::fputs("Password: ", stderr);
        password = QString::fromStdString(readLine(true));
    };
    session.confirmOverwrite = [&](QString& name, bool& confirm) {
        if (overwriteAll)
            return;
        std::fprintf(stderr, "%s exists, overwrite? [y]es, [n]o, [A]ll: ", qPrintable(name));
        const std::string answer = readLine(false);
        overwriteAll = answer == "A" || answer == "a";
        confirm = overwriteAll || answer == "y" || answer == "Y";
    };
    if (!session.run(QCoreApplication::applicationFilePath(), QDir::currentPath())) {
        std::fprintf(stderr, "%s\n", qPrintable(session.errorString()));
        return 1;
    }
    std::printf("%d files extracted.\n", session.extracted());
    return 0;
}
