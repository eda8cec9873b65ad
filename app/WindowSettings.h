#pragma once
// The main window's own stored values: the program key itself (layout of the window and the
// browse panes, the current mode, file and folder, and the program-wide flags kept there),
// with their design defaults, in the order they are read. They are written in another order:
// the drive-tab option, read last, is written right after the tree's single-drive option.

#include "platform/SettingsTable.h"
#include "platform/ViewMode.h"

#include <QString>

#include <span>
#include <vector>

// Window state as stored in AppState.
enum class StoredWindowState { Maximized = 1, Minimized = 2, Normal = 3 };

struct WindowSettings {
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

    static constexpr const char* kGroup = ""; // the program key
    static std::span<const SettingFieldOf<WindowSettings>> fields();
    static std::vector<SettingFieldOf<WindowSettings>> writeOrder();
};
