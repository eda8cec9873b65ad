#pragma once
// Starting a program from the Run dialog and a terminal from the command-prompt button.
// A program is started with an argument vector, never through a shell: the parameters are
// split into words as a shell splits them (blanks, '...', "...", backslash), with no
// expansion of any kind, so "$(...)", ";" or a file named "x;touch y.EXE" run nothing else.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct ShellExecuteResult;

namespace RunCommand {

// Finds a program on PATH by name (absolute path, empty when missing).
using ProgramFinder = std::function<QString(const QString& name)>;

// What to start: the program, its arguments and its working folder, or the reason that
// nothing can be started.
struct Plan {
    QString program;
    QStringList arguments;
    QString workingFolder;
    QString error;

    bool isValid() const { return error.isEmpty() && !program.isEmpty(); }
};

// The words of text as a POSIX shell splits them, nothing expanded; nullopt when a quote
// is not closed.
std::optional<QStringList> SplitArguments(const QString& text);

// How file is run with parameters: an executable directly; a "#!" script without the
// execute bit through the interpreter its first line names; a desktop entry by its Exec
// line (field codes dropped); .EXE, .COM, .BAT and .PIF through wine when it is installed.
// The working folder is the file's own folder.
Plan PlanRun(const QString& file, const QString& parameters, const ProgramFinder& find);

// How the desktop entry at entryPath opens file: its Exec line with %f/%F given the path
// and %u/%U its file URL (the path appended when the line has no such code).
Plan PlanOpenWith(const QString& entryPath, const QString& file, const ProgramFinder& find);

// The desktop's terminal in folder: x-terminal-emulator, else the first installed of the
// usual terminals. The folder is given to the child; the program's own never changes.
Plan PlanTerminal(const QString& folder, const ProgramFinder& find);

// Starts a valid plan through the program launcher (detached).
ShellExecuteResult Start(const Plan& plan);
// The launcher's program finder.
ProgramFinder launcherFinder();

} // namespace RunCommand
