#pragma once
// A subcommand of fvtool. Each commands/<Name>.cpp defines one function and registers it:
//
//   static int runList(const QStringList& args);
//   FVTOOL_COMMAND(list, "list DIR [--mask M] [--sort COLUMN] [--desc] [--hidden]", runList)
//
// The function gets the arguments after the command name, prints its result on stdout and
// its errors on stderr, and returns the process exit code (0 success, 1 failure, 2 usage).
// A new command lands in fvtool-full, which fvtool runs for it; list it among the light
// commands in tools/CMakeLists.txt when its engine needs no library that fvtool-light leaves
// out. The fvtool launcher finds the light commands' names in their files: keep each
// registration on a line of its own.

#include <QStringList>

#include <functional>
#include <map>

namespace fvtool {

using CommandFunction = std::function<int(const QStringList& args)>;

struct Command {
    const char* usage;
    CommandFunction run;
    bool drawsText = false; // runs with a GUI application, for the font database
};

std::map<QString, Command>& commands();

struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction run, bool drawsText = false);
};

// Whether the command named by argument (argv[1]) draws text.
bool drawsText(const char* argument);

// Writes to stdout/stderr as UTF-8 without Qt's debug decorations; a file name in the line
// is written with its own bytes (FileName::encode).
void out(const QString& line);
void err(const QString& line);

} // namespace fvtool

#define FVTOOL_COMMAND(name, usage, function) \
    static const fvtool::CommandRegistration fvtoolRegistration_##name(#name, usage, function);
// A command that draws pictures with text (metafiles) in fonts.
#define FVTOOL_DRAWING_COMMAND(name, usage, function) \
    static const fvtool::CommandRegistration fvtoolRegistration_##name(#name, usage, function, true);
