#pragma once
// Builds the main window's controls in their design places: the menu bar, the seven tool
// bands in three rows, the address box, the drive tabs, the left pane with the folder tree,
// its splitter and the playlist panel, the right-pane stack, the movie position bar and the
// status bar with four panels and the progress meter inside the fourth.

#include "app/MainWindowControls.h"

#include <QRect>

class MainWindowLayout {
public:
    static constexpr int kClientWidth = 882;
    static constexpr int kClientHeight = 654;
    static constexpr int kPathWidth = 250;
    static constexpr int kAudioHeight = 201;
    static constexpr int kTabHeight = 29;
    static constexpr std::array<int, 4> kStatusWidths = {250, 150, 100, 100};
    static constexpr std::array<int, kBandCount> kBandWidths = {212, 227, 429, 189, 297, 382, 876};
    static constexpr std::array<bool, kBandCount> kBandStartsRow = {true, false, false, true, false, false, true};

    static void build(QMainWindow* window, MainWindowControls& c);

    // Puts the drive tabs above (false) or below (true) the panes.
    static void placeDriveTabs(MainWindowControls& c, bool bottom);

    // The rectangle of a status panel inside the status bar.
    static QRect statusPanelRect(const MainWindowControls& c, int panel);

private:
    static void buildBands(QMainWindow* window, MainWindowControls& c);
    static void buildClientArea(QMainWindow* window, MainWindowControls& c);
    static void buildRightPane(MainWindowControls& c);
    static void buildStatusBar(QMainWindow* window, MainWindowControls& c);
};
