#pragma once
// The File Tools commands that need no dialog of their own: shortcuts in a chosen folder or
// on the desktop, and the new text file of selected paths. They run against BrowsePanes, ask
// through the Prompter and the Pickers, and announce what they changed.

#include "fileops/BrowsePanes.h"

#include <QString>

class FileToolCommands {
public:
    explicit FileToolCommands(BrowsePanes& panes) : m_panes(panes) {}

    // Make Shortcut in...: asks for a folder (not the list's own) and makes a shortcut there
    // for each selected item of the active list, or for the list's folder.
    void makeShortcutIn();
    // Make Shortcut to Desktop: the same into the desktop folder, without asking.
    void makeShortcutOnDesktop();

    // Save path/file to text file: writes the selected items' paths (Yes to "Would you like
    // to complete path?  else just name") or names, one a line, into a new "Newtext" file
    // in the list's folder. The file made, to be opened in the editor; empty when none was.
    QString pathsToTextFile();

private:
    void makeShortcuts(const QString& folder);

    BrowsePanes& m_panes;
};
