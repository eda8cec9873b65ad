#pragma once
// The folder tree's own context menu (and the drive tab strip's, which acts on the linked
// tree). The folder operations that need the transfer commands and the shortcut tools say
// they are not available yet. Formatting opens the desktop's disk utility; the network-drive
// items explain that shares are mounted by the desktop, as Linux has no such dialogs.

#include <QMenu>

class TPathViewFol;
class QTreeWidgetItem;

class TPathViewFolPopUp : public QMenu {
    Q_OBJECT
public:
    // forTabs names the find item FindNodeTab, as in the tab strip's copy of the menu.
    TPathViewFolPopUp(TPathViewFol* tree, bool forTabs, QWidget* parent = nullptr);

    // The text shown for a command whose engine has not landed yet.
    static QString notYetText(const QString& command);

private:
    QAction* addItem(QMenu* menu, const QString& caption, const char* name, bool enabled = true);
    void addNotYet(QMenu* menu, const QString& caption, const char* name, bool enabled);
    void addDrivesMenu();
    void addSendMenu(bool belowRoot);

    TPathViewFol* m_tree;
    QTreeWidgetItem* m_node;
};
