#pragma once
// The mode machine of the main window: SwitchViewMode, through which every change of the
// right-hand pane passes (leave the shown pane, which may refuse; bring the browse panes
// to the path in the file manager; enter the new pane with its band, chrome and status;
// record CurrentMode, CurrentFile and CurrentPath), and the file list steps the view
// commands make (SelectFileInList, StepFileSelection).

#include "platform/ViewMode.h"

#include <QObject>
#include <QString>

struct MainWindowControls;
class TFormMainFolvane3;
class ViewPane;

class MainWindowModes : public QObject {
    Q_OBJECT
public:
    MainWindowModes(TFormMainFolvane3* window, MainWindowControls& c);

    // Whether the shown pane is still to be asked about its unsaved work, or was asked
    // already by the command (the Open command in the editor asks before its dialog).
    enum class LeaveCheck { Ask, Asked };

    // Leaves the current mode and enters mode showing path (a file, or a folder for the
    // file manager). False when nothing changed: the shown pane kept its unsaved work
    // (the user cancelled), or the editor was refused the file.
    bool SwitchViewMode(TViewMode mode, const QString& path, LeaveCheck check = LeaveCheck::Ask);
    // The first switch of the run, as the window is shown: the stored mode and item. The
    // browse panes are brought to the stored folder by the start check, not here.
    void firstSwitch(TViewMode mode, const QString& path);

    ViewPane* shownPane() const { return m_shownPane; }

    // "Can not access file" with the path: a file that is no regular file or cannot be read.
    static QString accessErrorText(const QString& path);

    // Selects, focuses and shows the list item of path, deselecting the others.
    void SelectFileInList(const QString& path);
    // Moves the list selection one item forward or back, wrapping at both ends, and
    // returns the new item's full path; empty for an empty list.
    QString StepFileSelection(bool forward);

    // The window is closing: false when the shown pane keeps its unsaved work.
    bool mayClose();
    // The program ends where nothing can be asked: the shown pane keeps its work safe.
    void preserveUnsaved();

Q_SIGNALS:
    // A switch completed (the idle handler updates everything at once).
    void modeSwitched();

private:
    bool editorAccepts(const QString& path);
    void bringBrowsePanesTo(const QString& path);
    void showPane(TViewMode mode, const QString& path);
    void showPaneStatus(TViewMode mode, const QString& path);
    void record(TViewMode mode, const QString& path);

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
    ViewPane* m_shownPane = nullptr;
    bool m_switching = false;
};
