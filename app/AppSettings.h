#pragma once
// Every value the main window keeps in the settings tree, with its design default. The
// store (SettingsStore) reads and writes these; the main window applies them to its
// controls and gathers them back before saving.

#include "platform/SettingsTable.h"
#include "platform/ViewMode.h"
#include "viewers/EditorSettings.h"
#include "viewers/ViewerSettings.h"

#include <QString>
#include <QStringList>

// Window state as stored in AppState.
enum class StoredWindowState { Maximized = 1, Minimized = 2, Normal = 3 };

// The values of the components (editor, viewer) are their own structs, kept here as
// bases so that one object holds the whole stored state.
struct AppSettings : EditorSettings, ViewerSettings {
    // Program key.
    bool showHiddenSystemfiles = true;
    bool openByDblClickFV = true;
    bool singleDrive = true;
    QString versionStr = QStringLiteral("V0.00 Sat Mar 01, 2008");
    int scaleJPGIndex = 0;
    QString browserWebStr = QStringLiteral("https://www.debian.org/");
    QString currentItemSel;
    QString currentPathSel;
    int modeCurrent = vmFileManager;
    int appTop = 0;
    int appLeft = 0;
    // The design client area; the main window replaces these with its own outer size
    // (menu bar included) before the store is first read.
    int appHeight = 654;
    int appWidth = 882;
    int pathWidth = 250;
    int colNameWidth = 150;
    int colSizeWidth = 100;
    int colTypeWidth = 100;
    int colDateWidth = 125;
    int colAttrWidth = 50;
    bool autosizeColumns = true;
    int appState = int(StoredWindowState::Normal);
    int fileSortIndex = 0;
    bool decendSort = false;
    int fileViewIndex = 0;
    bool tabBottom = false;
    bool showDrives = true;

    // "Options"
    bool runMinimized = false;
    int movieRes = 4;
    bool showNextFile = true;
    bool continuousPlay = true;
    bool shuffle = true;
    bool loopMovie = false;
    bool fv3sounds = true;
    bool cleanUpOnExit = false;
    bool useSmallZipToExe = false;
    bool autoStartFolVane = false;
    bool animateStartup = true;
    bool showZipEncryptStatus = false;

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
