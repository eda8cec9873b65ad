#pragma once
// The program entry: the single-instance question, ProgramFolder, the splash window, the
// application title, the main window and its first showing, the message loop.

#include <QString>
#include <QStringList>

class FolvaneApplication {
public:
    static constexpr const char* kTitle = "FolVane III (File Manager Plus)";
    static constexpr const char* kRunningQuestion = "FolVane III is running, load again?";

    // Runs the whole program inside an existing QApplication; returns the exit code.
    // arguments: the command line after the program's name, without Qt's own options.
    static int run(const QStringList& arguments = {});

    // The application's name (settings folders, the instance socket). Window titles stay
    // exactly as each window sets them: no display name is set.
    static void nameApplication();

    // Entry step 1. When another instance runs, brings it to the front and asks whether to
    // load again; false means the process is to end at once, touching nothing.
    static bool instanceCheckPasses();

    // The folder of the program's own executable, with a trailing slash.
    static QString ProgramFolder();
    // Another folder for the program's own files (the sounds, the help); empty: the
    // executable's folder again. For programs that stand in for the window (tests).
    static void setProgramFolder(const QString& folder);

    // The help file beside the program ("help/fvhelp.html"), empty when there is none.
    static QString helpFile();
    static void setHelpFile(const QString& path);
};
