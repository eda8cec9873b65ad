#pragma once
// Every value the program keeps in the settings tree, with its design default. The store
// (SettingsStore) reads and writes these; the main window applies them to its controls and
// gathers them back before saving.

#include "app/OptionsSettings.h"
#include "app/WindowSettings.h"
#include "platform/SettingsTable.h"
#include "viewers/EditorSettings.h"
#include "viewers/ViewerSettings.h"

#include <QString>
#include <QStringList>

// The values of the components are their own structs (the window's program key, the
// editor, the viewer, the options), kept here as bases so that one object holds the whole
// stored state; each struct's table is its group in the store.
struct AppSettings : WindowSettings, EditorSettings, ViewerSettings, OptionsSettings {
    // History lists kept by the main window, and the list indexes of the other owners.
    QStringList mruPaths;
    QStringList masks = builtInMasks();
    int maskIndex = 0;
    int extIndex = 0;
    int runIndex = 0;
    int findStrIndex = 0;
    int replStrIndex = 0;
    int fileStrIndex = 0;

    // The 38 design items of the mask box, sorted.
    static QStringList builtInMasks();
};

// One stored value of the whole state; a component's own fields convert to it.
using SettingField = SettingFieldOf<AppSettings>;
