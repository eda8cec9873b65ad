#pragma once
// Which pane, program or dialog the View command and the spinner choose for a path: a
// plain function of the file (its kind by name, its first 1000 bytes, the desktop's
// associations), shared by the main window and `fvtool viewmode`.
//
// Nothing here starts anything. A program file (by extension, an executable ELF or "#!"
// file, a desktop entry, a script type) is never handed to the desktop's opener: it goes
// to the Run dialog, where the user confirms.

#include "platform/ViewMode.h"

#include <QString>

class DesktopAssociations;

enum class ViewRule {
    View,    // the View command, double click, Enter
    Spinner, // the next/previous spinner and the arrow keys: never a program, a dialog or the shell
};

enum class ViewAction {
    EnterFolder,     // the file manager inside the folder (path)
    ShowCurrentFile, // the path does not exist: the file manager with CurrentFile
    AccessError,     // not a regular file that opens for reading
    ShowInMode,      // mode, showing path (for a .URL file: its URL)
    Playlist,        // an audio file or playlist: the audio player builds its list
    RunDialog,       // a program: the Run dialog asks for its parameters
    OpenWith,        // the desktop's program handler opens it
    ShellOpen,       // the program's own panes are off: the desktop opens it
};

struct ViewChoice {
    ViewAction action = ViewAction::AccessError;
    TViewMode mode = vmFileManager;
    QString path;
    QString handler; // OpenWith: the desktop id

    // One line for scripts: "mode 3 Folvane Text Editor", "open with x.desktop", "run dialog"...
    QString describe() const;
};

// ownPanes: the setting OpenByDblClickFV (off: every file goes to the desktop, programs
// still to the Run dialog).
ViewChoice ChooseView(const QString& path, ViewRule rule, bool ownPanes, const DesktopAssociations& associations);

// Whether the file is a program to run rather than a document to open: a program extension
// (.EXE .PIF .COM .BAT), an executable ELF or "#!" file, a desktop entry, or a file of an
// executable or script MIME type. head: its first bytes.
bool IsProgramToRun(const QString& path, const QByteArray& head);
