#pragma once
// The drive tab strip's state: one tab per shown drive, each holding a path on that drive
// (its root, or the last folder visited there), and which tab is selected.
//
// A rebuild (refresh) gives every tab its drive's root again, except the tab of the drive
// that holds the current folder, which gets that folder and is selected. Between rebuilds
// the selected tab's text follows the folder tree, so a tab remembers the last folder
// visited on its drive.

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
