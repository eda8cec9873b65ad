#pragma once
// The named controls of the main window, created by MainWindowLayout. Controls that later
// parts of the program fill (the playlist) start as empty widgets that already carry
// their object names and places; the three browse components are the real ones. The
// panes of the other modes are not here: they are registered with the window
// (MainWindowPanes) and added to the pane stack rightPane.

#include "platform/ViewMode.h"
#include "platform/ui/WindowContext.h"

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QProgressBar;
class QSlider;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class QWidget;
class TFileViewFol;
class TPathViewFol;
class TTabControlDriveFol;

struct MainWindowControls {
    QMenuBar* MainMenu1 = nullptr;
    std::array<QMenu*, 10> topMenus{};
    QAction* MenuExit = nullptr;
    QAction* MenuViewFile = nullptr;
    QAction* MenuContinuousplay = nullptr;
    QAction* MenuShuffle = nullptr;
    QAction* MenuOptionSet = nullptr;
    QAction* MenuAbout = nullptr;
    QAction* MenuHelpContents = nullptr;

    std::array<QToolBar*, kBandCount> bands{};
    std::array<QToolButton*, kBandButtonCount> buttons{};
    QWidget* SpinViewer = nullptr;
    QToolButton* SpinViewerPrevious = nullptr;
    QToolButton* SpinViewerNext = nullptr;
    QToolButton* ButtonViewFile = nullptr;
    QToolButton* ButtonLoopMovie = nullptr;
    QToolButton* ToolButtonContinuousPlay = nullptr;
    QToolButton* ToolButtonShuffle = nullptr;
    QSlider* TrackBarMediaRes = nullptr;
    QComboBox* ComboboxScaleJPG = nullptr;
    QToolButton* ButtonHex = nullptr;
    QComboBox* ComboBoxMask = nullptr;

    QVBoxLayout* clientLayout = nullptr;
    QComboBox* ComboBoxURL = nullptr;
    TTabControlDriveFol* TabControlDriveFol1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* PanelPath = nullptr;
    QSplitter* Splitter2 = nullptr;
    TPathViewFol* PathViewFol1 = nullptr;
    QWidget* PanelAudio = nullptr;
    QStackedWidget* rightPane = nullptr;
    TFileViewFol* FileViewFol1 = nullptr;
    QSlider* MediaTrackBar = nullptr;
    QStatusBar* StatusBar = nullptr;
    std::array<QLabel*, 4> statusPanels{};
    QProgressBar* MeterItemStatus = nullptr;
};
