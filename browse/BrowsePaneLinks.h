#pragma once
// Puts the three browse widgets together as the main window shows them: each follows the
// navigator (none drives another), the tab strip and the list's folder rows follow the
// tree's single-drive mode, and the tree's and the strip's own popups know each other.

class BrowseNavigator;
class TFileViewFol;
class TPathViewFol;
class TTabControlDriveFol;

// The three widgets of the file manager, as the controllers of its menus take them.
struct BrowseWidgets {
    TTabControlDriveFol* tabs = nullptr;
    TPathViewFol* tree = nullptr;
    TFileViewFol* list = nullptr;
};

class BrowsePaneLinks {
public:
    // The followers are connected tree first, then tabs, then list, so a list that reads a
    // folder finds tree and tabs already there.
    static void link(BrowseNavigator& navigator, const BrowseWidgets& widgets);
};
