#pragma once
// Shell services of the desktop, in the program's words: special folders, opening a file or
// folder with its associated program (and the "Open", "Print", "Find" verbs), the folder
// picker, shortcut files, and clearing the recently-used list. Icons and type names are in
// FileTypes.h, the Trash in Trash.h, the change notices in ChangeNotices.h.

#include "platform/Status.h"

#include <QString>
#include <QStringList>

#include <cstdint>

enum class SpecialFolder { Desktop, Documents, Pictures, Videos, Music, Favorites, CommonDesktop, CommonDocuments };

// The folder's path without a trailing "/", from the XDG user dirs; empty when the desktop
// has none (the "common" folders of all users do not exist on Linux). The favourites folder
// is the program's own under $XDG_DATA_HOME and is made on first use.
QString SpecialFolderPath(SpecialFolder folder);

// Starts programs for ShellExecute; tests install a fake that records the calls.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher();
    // The absolute path of a program found on PATH, empty when there is none.
    virtual QString findProgram(const QString& name) = 0;
    // Starts the program detached; fails when it could not start.
    virtual Status start(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;

    static ProgramLauncher& instance();
    static void setInstance(ProgramLauncher* launcher);
};

struct ShellExecuteResult {
    bool accepted = false;
    bool declined = false; // the user chose not to run the program: nothing to report
    QString error;         // a text for the user when it failed

    // Whether the caller has a failure to report.
    bool failed() const { return !accepted && !declined; }
};

// verb: empty or "Open" (a folder, document or URL is opened with its associated program
// through xdg-open; a program - an executable ELF file or "#!" script - is run with the
// parameters only after the user answers Yes to "Run <name>?", and directly, never through a
// shell),  "Print" (the file goes to the
// printing system through lp), "Find" (the desktop's file search program, in the folder).
// workingFolder: the program's working folder (empty: the file's own folder).
ShellExecuteResult ShellExecute(const QString& verb, const QString& file, const QString& parameters = QString(),
                                const QString& workingFolder = QString());

// The desktop's own file manager (Nautilus, Dolphin, Nemo, Caja, Thunar, PCManFM, Konqueror)
// at folder; never this program, even where it is the desktop's folder handler.
ShellExecuteResult ExploreFolder(const QString& folder);

// The message for a verb the shell could not carry out on path: "Can not <verb> file  <path>",
// then the platform's reason (result.error) on a line of its own.
QString ShellFailureMessage(const QString& verb, const QString& path, const ShellExecuteResult& result);

// The folder picker: the chosen folder, empty when cancelled.
QString BrowseForFolder(const QString& title, const QString& startFolder);

// Writes a shortcut to target as a freedesktop desktop entry: a "Link" entry for a file or
// folder, an "Application" entry (with the working folder) for a program. A ".lnk" name is
// given the ".desktop" extension. Written to a temporary file and renamed into place.
// Gives the path written.
Result<QString> CreateShortcut(const QString& target, const QString& workingFolder, const QString& shortcutPath);
// The target of a shortcut desktop entry (URL of a Link, the program of an Application),
// empty when the file is not one. Bounds-checked: reads at most 64 KiB.
QString ShortcutTarget(const QString& shortcutPath);
QString ShortcutTargetFromText(const QByteArray& text);

// Formatting a drive: the desktop's disk utility is started on the drive's device (GNOME Disks
// with its format dialog, else KDE Partition Manager). Fails when the drive has no
// block device or no such utility is installed, and for the system's own volume.
Status FormatDrive(const QString& root);
// Whether path lies on the volume of "/" or of the home folder: the running system's own
// volume, never handed to a disk utility for formatting.
bool IsSystemVolume(const QString& path);
// Mapping and unmapping network drives has no dialog on Linux: shares are mounted by the
// desktop's file manager or the system's mount table. The text the program shows instead.
QString NetworkDrivesUnavailableText();

// Empties the freedesktop recently-used list ($XDG_DATA_HOME/recently-used.xbel).
Status ClearRecentDocuments();
