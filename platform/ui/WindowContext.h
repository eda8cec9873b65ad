#pragma once
// What a feature controller of the main window (the transfer commands, the drive and
// folder menus, the path menus, the mask box, and the controllers later features add)
// may reach of the window: its menus and band buttons by name, the status panels and the
// progress meter, the mode, the browse navigator, the recent folders and its stored
// history indexes. Controllers take this instead of the window's controls, so they can
// live beside their subsystem and be tested with a small fake.

#include "platform/ViewMode.h"

#include <QString>
#include <QStringList>

class BrowseNavigator;
class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;
class QWidget;

// The main menu's drop-down menus ("Options" is a command of its own, not a menu).
enum class MainMenu { File, Path, Edit, Search, Music, Drive, FileTools, Tools, Help };

// The buttons of the tool bands, in band order.
enum class BandButton {
    ViewFile, Web, Find, Time,                                              // ToolBarGlobal
    Pause, StepFwd, LoopMovie, ContinuousPlay, Shuffle,                      // ToolBarMovie
    Zoom,                                                                   // ToolBarImage
    BrowserBack, BrowserForward, BrowserStop, BrowserRefresh,                // ToolBarBrowser
    EditorNew, Save, EditorCut, EditorCopy, EditorPaste, EditorFont, TextEditorPrint, // ToolBarTextEditor
    Hex, FileViewerCopy, ViewerFont,                                        // ToolBarView
    SingleDrive, DeskTop, Refresh, DetailType, NewTextFile, Zip, UnZip, Sync, Dup, // ToolBarFileManger
    TextEditor, Delete, C_Prompt,                                           // ToolBarFileManger, added
    Open, UnDo, EditorDelete,                                               // ToolBarTextEditor, added
    WebHome, WebSave, WebCleanUp,                                           // ToolBarBrowser, added
    Mail,                                                                   // ToolBarFileManger, added
    TextEditorMail,                                                         // ToolBarTextEditor, added
};
constexpr int kBandButtonCount = int(BandButton::TextEditorMail) + 1;

// The list indexes the window stores for the owners of the history lists.
enum class HistoryIndex { Ext, Run, FindStr, ReplStr, FileStr };

class WindowContext {
public:
    virtual ~WindowContext() = default;

    // The window, as the parent of dialogs and popups and the holder of window shortcuts.
    virtual QWidget* window() const = 0;
    virtual QMenu* menu(MainMenu which) const = 0;
    virtual QToolButton* button(BandButton which) const = 0;
    // Status panels 0 to 3.
    virtual QLabel* statusPanel(int index) const = 0;
    virtual QProgressBar* meter() const = 0;

    virtual TViewMode currentMode() const = 0;
    // Leaves the current mode and enters mode, showing path (may be empty).
    virtual void switchMode(TViewMode mode, const QString& path = QString()) = 0;

    virtual BrowseNavigator& navigator() const = 0;

    virtual QStringList recentPaths() const = 0;
    // Drops recent folders that are gone, puts folder first when it is new, saves.
    virtual void updateRecentPaths(const QString& folder) = 0;

    // The settings file, where the controllers' own history lists are kept too.
    virtual QString settingsFile() const = 0;
    // A stored list index, read at start and written at every save of the window.
    virtual int& historyIndex(HistoryIndex which) = 0;

    // Writes the window's settings now (before the system is asked to end the session).
    virtual void saveSettings() = 0;
    // The current folder (program state, with a trailing "/").
    virtual QString currentPath() const = 0;
};
