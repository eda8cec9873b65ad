#pragma once
// One pane of the main window's right-hand side: the file manager or one of the six panes
// that take its place (web browser, file viewer, text editor, movie player, image viewer,
// zip viewer). The window keeps one registered pane per mode and switches between them
// through this interface alone, so a new pane needs no change to the window class.
//
// A pane says what it shows (its widget, its tool band, the window chrome it needs) and
// is told when it is entered with a path and when it is left. Entering and leaving come
// in pairs: a pane is left exactly once for every time it was entered.

#include "platform/ViewMode.h"

#include <QFlags>
#include <QString>

class QWidget;

// The parts of the window outside the pane stack that some modes show.
enum class PaneChrome : quint8 {
    PathPanel = 0x1,  // PanelPath: the folder tree and the playlist panel
    AddressBox = 0x2, // ComboBoxURL
    TrackBar = 0x4,   // MediaTrackBar, the movie position bar
    HexButton = 0x8,  // ButtonHex
};
Q_DECLARE_FLAGS(PaneChromes, PaneChrome)
Q_DECLARE_OPERATORS_FOR_FLAGS(PaneChromes)

class ViewPane {
public:
    virtual ~ViewPane() = default;

    virtual TViewMode mode() const = 0;
    // The widget shown in the pane stack; two modes may share one (movie and image show
    // ScrollBox1).
    virtual QWidget* widget() const = 0;
    // The band shown beside ToolBarGlobal (a BandIndex), or kNoBand.
    virtual int toolBand() const = 0;
    virtual PaneChromes chrome() const = 0;
    // The settings subkey whose values this pane owns ("Editor", "Viewer"), empty when none.
    virtual QString settingsGroup() const = 0;

    // The pane becomes the shown one; path is the file (or folder) to show, may be empty.
    virtual void enter(const QString& path) = 0;
    // Asked before the pane is left, by a mode switch or by the program closing: a pane with
    // unsaved work asks the user what to do with it. False keeps the pane shown (the user
    // cancelled); the switch or the close is then not made.
    virtual bool mayLeave() { return true; }
    // The program ends where nothing can be asked (the session ends it): a pane with unsaved
    // work writes it to a recovery file, so that nothing typed is lost.
    virtual void preserveUnsaved() {}
    // The pane stops being the shown one: it closes what it opened on entering.
    virtual void leave() = 0;
    // Steps to the next (+1) or previous (-1) file of the folder, where the pane shows files
    // one by one.
    virtual void stepFile(int direction) = 0;
};
