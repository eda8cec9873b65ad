#pragma once
// The one place where the panes of the right-hand side are made and registered with the
// main window, one per mode. A new pane is a class in its subsystem (implementing
// ViewPane) and one line here.

struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowPanes {
public:
    static void registerAll(TFormMainFolvane3& window, MainWindowControls& c);
    // The commands of the viewer and editor panes in the window's menus, once the transfer
    // commands have built their items (the Edit menu is shared).
    static void connectCommands(TFormMainFolvane3& window);
private:
    // The movie pane's move to the next file and the audio playlist under the tree.
    static void connectMedia(TFormMainFolvane3& window);
    // The web pane's favourites menu, its sites menu and the clean-up command.
    static void connectWebCommands(TFormMainFolvane3& window);
};
