#pragma once
// UpdateControlStates, the main window's idle handler: run whenever the event loop is
// about to wait, and at the end of every mode switch. Each pass keeps the caption, the
// enabled state of the commands and the pane flags in line (steps that cost nothing: the
// folder facts come from a cache a worker fills, the clipboard state from the clipboard's
// change signal, the selection from the list's selection signals); the hints, pictures and
// status texts are worked out only when the mode, folder, item or selection count changed.

#include "app/PathFactsCache.h"
#include "viewers/ControlStates.h"

#include <QObject>
#include <QString>

struct MainWindowControls;
class TFormMainFolvane3;
class MainWindowModes;

class MainWindowIdle : public QObject {
    Q_OBJECT
public:
    MainWindowIdle(TFormMainFolvane3* window, MainWindowControls& c, MainWindowModes& modes);

    // Runs at every idle moment once started (the window is shown).
    void start();
    void UpdateControlStates();

    bool FolderIsValid() const { return m_folderIsValid; }
    const ControlStates& states() const { return m_states; }
    PathFactsCache& folderFacts() { return m_facts; }
    // While held, the caption shows what another part put there (a drop target).
    void holdCaption(bool held) { m_captionHeld = held; }
    // The next pass redoes the on-change steps (after a mode switch).
    void forceChange() { m_forced = true; }

private:
    struct Selection {
        int count = 0;
        QString item;
    };
    void updateCaption(const QString& treePath);
    bool folderOfActivePaneExists(const QString& treePath);
    ControlFacts gatherFacts(const QString& treePath);
    void applyEveryIdle(const ControlStates& s);
    void applyOnChange(const ControlStates& s, const ControlFacts& facts);
    void updateViewButton(const ControlFacts& facts);
    void updateStatus();
    const Selection& selection();

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
    MainWindowModes& m_modes;
    PathFactsCache m_facts;
    ControlStates m_states;
    bool m_folderIsValid = false;
    bool m_clipboardHasText = false;
    bool m_selectionDirty = true;
    bool m_forced = true;
    bool m_running = false;
    bool m_captionHeld = false;
    Selection m_selection;
    int m_lastMode = -1;
    QString m_lastPath;
    QString m_lastItem;
    int m_lastCount = -1;
};
