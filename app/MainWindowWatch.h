#pragma once
// The main window's side of change watching: the watcher ShellNotification1 and the refresh
// owed to the browse panes (PendingRefresh). Each notice only records what it owes
// (ChangeHandlers); the idle handler pays it in the file manager mode, a few times a second
// at most, so a burst of changes costs a few reloads: the list is re-read keeping the
// selection and the scroll position, the tree nodes concerned read their subfolders again,
// and only a removed current folder, a drive or medium change or a lost queue rebuild the
// whole tree. Nothing reloads while a viewer pane is shown; one reload follows on return.
//
// The folders watched follow what is shown: the listed folder, the current folder's parents
// and every open tree node.

#include "fileops/RefreshOwed.h"

#include <QObject>
#include <QTimer>

struct ChangeNotice;
struct MainWindowControls;
class TFormMainFolvane3;
class TShellNotification;
class PathFactsCache;

class MainWindowWatch : public QObject {
    Q_OBJECT
public:
    MainWindowWatch(TFormMainFolvane3* window, MainWindowControls& c, PathFactsCache& facts);

    // From the first showing of the window: the watcher is active for good.
    void start();
    // The idle handler's step: pays the refresh owed when its time has come; true when it
    // reloaded something (the rest of that idle pass is skipped).
    bool applyPendingRefresh();

    TShellNotification& ShellNotification1() { return *m_watcher; }
    RefreshLevel PendingRefresh() const { return m_owed.PendingRefresh(); }

Q_SIGNALS:
    // A refresh was paid (tests wait for it).
    void refreshed(RefreshLevel level);

private:
    void ShellNotification1Noticed(const ChangeNotice& notice);
    void syncShownFolders();
    void payFull();
    // Runs the idle handler in waitMs (unless a wake is set already).
    void wakeIdle(qint64 waitMs);
    // The caption's free space asked again, at most once per kFreeSpaceGapMs.
    void expireFacts();

    static constexpr int kFreeSpaceGapMs = 500;

    static constexpr int kLoadingRetryMs = 50;

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
    PathFactsCache& m_facts;
    TShellNotification* m_watcher;
    RefreshOwed m_owed;
    QTimer m_wake;      // wakes the idle handler when the gap since the last reload is over
    QString m_selectAfterReload; // the new path of the selected item, renamed meanwhile
    QTimer m_syncShown; // gathers the changes of what is shown into one watch-set update
    QTimer m_factsGap;  // the gap between two askings of the free space
    bool m_factsOwed = false; // a change came during the gap: asked again when it ends
};
