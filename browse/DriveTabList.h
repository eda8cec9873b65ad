#pragma once
// The drive tab strip's state: one tab per shown drive, each holding a path on that drive
// (its root, or the last folder visited there), and which tab is selected.
//
// The selected tab's text follows the folder tree, so a tab remembers the last folder
// visited on its drive. A rebuild (refresh) gives the tab of the drive that holds the
// current folder that folder and selects it; every other tab keeps the folder it
// remembered (a new drive starts at its root), so going to one drive's root does not make
// the others forget where the user was.

#include "platform/Drives.h"

#include <QString>

#include <vector>

class DriveTabList {
public:
    struct Tab {
        DriveInfo drive;
        QString text;
    };

    void refresh(const QList<DriveInfo>& drives, const QString& currentFolder);

    int count() const { return int(m_tabs.size()); }
    const Tab& at(int index) const { return m_tabs[size_t(index)]; }
    int selected() const { return m_selected; }
    void select(int index);
    void setSelectedText(const QString& path);
    // The index of the tab of the drive that holds the path, or -1.
    int indexOfDrive(const QString& path) const;

private:
    std::vector<Tab> m_tabs;
    int m_selected = -1;
};
