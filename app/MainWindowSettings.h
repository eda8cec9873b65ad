#pragma once
// The glue between the stored values and the main window's controls: apply() puts the
// values that have a control on it (window size and state, pane width, scale box, hex
// button, spinner delay, movie scale, play options, masks, drive tab place, the browse
// panes' columns, style, sort and drive mode), gather()
// reads them back before a save.

#include "app/AppSettings.h"
#include "app/MainWindowControls.h"

class TFileViewFol;

class MainWindowSettings {
public:
    static void apply(QMainWindow* window, MainWindowControls& c, const AppSettings& s);
    static void gather(const QMainWindow* window, const MainWindowControls& c, AppSettings& s);

    // The browse panes' values: column widths and auto-size, view style, sort column and
    // direction, the mask chosen in the box, drive-type tabs and single-drive mode.
    static void applyBrowse(MainWindowControls& c, const AppSettings& s);
    // Sets the list's view style from FileViewIndex (0 details, 1 list, 2 small icons,
    // 3 large icons; anything else details); returns the index used.
    static int applyViewStyle(TFileViewFol* list, int fileViewIndex);
    static int fileViewIndex(const TFileViewFol* list);

    // Fills the mask box and selects the stored mask; hint "Current Mask = " + text.
    static void applyMasks(MainWindowControls& c, const QStringList& masks, int maskIndex);
};
