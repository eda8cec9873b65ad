#pragma once
// The main menu MainMenu1: the ten top-level items "File", "Path", "Edit", "Search",
// "Music", "Drive", "File Tools", "Tools", "Options", "Help" in that order, with the items
// that the window frame itself serves. "Options" is a command of its own (no sub-menu).
// The other parts of the program add their items to these menus by object name.

#include "app/MainWindowControls.h"

class MainMenus {
public:
    static void build(QMainWindow* window, MainWindowControls& c);
};
