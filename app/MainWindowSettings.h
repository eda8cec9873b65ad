#pragma once
// The glue between the stored values and the main window's controls: apply() puts the
// values that have a control on it (window size and state, pane width, scale box, hex
// button, spinner delay, movie scale, play options, masks, drive tab place), gather()
// reads them back before a save.

#include "app/AppSettings.h"
#include "app/MainWindowControls.h"

class MainWindowSettings {
public:
    static void apply(QMainWindow* window, MainWindowControls& c, const AppSettings& s);
    static void gather(const QMainWindow* window, const MainWindowControls& c, AppSettings& s);

    // Fills the mask box and selects the stored mask; hint "Current Mask = " + text.
    static void applyMasks(MainWindowControls& c, const QStringList& masks, int maskIndex);
};
