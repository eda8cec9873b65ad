#pragma once
// What the options dialog reaches of the program: the settings it edits (the window's own
// copy of the stored values), putting them on the window's controls and panes, the browse
// panes' refresh and folder, and the clean-up steps that belong to the web pane and the
// clean-up run (cache, history, temporary folder, the complete run). The main window
// implements it (MainWindowOptions); tests use a small fake.

#include "app/AppSettings.h"
#include "platform/Status.h"

#include <QString>

class QWidget;

class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    virtual QWidget* window() const = 0;
    virtual AppSettings& settings() = 0;
    virtual QString settingsFile() const = 0;
    // Puts the settings on the window's controls and panes.
    virtual void applySettings() = 0;
    // The folder tree rebuilt, its folder selected again, the file list refreshed.
    virtual void refreshBrowse() = 0;
    // The folder selected in the folder tree.
    virtual QString treeFolder() const = 0;
    // The program's automatic-start entry, and whether it exists.
    virtual bool autoStartExists() const = 0;
    virtual bool applyAutoStart(bool enabled) = 0;

    // The clean-up steps of the web pane and the clean-up run.
    virtual Status clearWebCache() = 0;
    virtual Status clearWebHistory() = 0;
    // Deletes, for good, what the user owns inside the temporary folder and no process holds
    // (sockets, FIFOs and files in use stay; a folder that cannot be a temporary one is refused).
    virtual Status emptyTempFolder() = 0;
    virtual QString tempFolder() const = 0;
    // The complete clean-up, without its own confirmation.
    virtual void runCleanup() = 0;
    // The favourites folder shown for organising, as the Favorites menu does.
    virtual void organizeFavorites() = 0;
};
