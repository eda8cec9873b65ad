#pragma once
// The main window's way into the folder synchroniser: Tools "Sync Folders" and the tool
// band's Sync button (MenuSyncClick) open TSynchDlg modally on the window's current folder
// and free it afterwards. The controller reaches the window through its WindowContext only.

#include "sync/SyncPairLists.h"

#include <QObject>

class QAction;
class WindowContext;

class SyncMenus final : public QObject {
    Q_OBJECT
public:
    // lists: where the dialog keeps its pairs (the program's data folder by default).
    explicit SyncMenus(WindowContext& context, const SyncPairLists& lists = SyncPairLists());

    QAction* MenuSync() const { return m_menuSync; }
    void MenuSyncClick();

private:
    WindowContext& m_context;
    SyncPairLists m_lists;
    QAction* m_menuSync = nullptr;
};
