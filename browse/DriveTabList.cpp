#include "browse/DriveTabList.h"

#include "browse/BrowsePaths.h"
#include "browse/DriveItems.h"

void DriveTabList::refresh(const QList<DriveInfo>& drives, const QString& currentFolder)
{
    std::vector<Tab> previous = std::move(m_tabs);
    m_tabs.clear();
    m_selected = -1;
    for (const DriveInfo& drive : drives) {
        if (!DriveItems::isShown(drive))
            continue;
        QString text = drive.root;
        for (const Tab& old : previous) {
            if (old.drive.root == drive.root)
                text = old.text;
        }
        m_tabs.push_back(Tab{drive, text});
    }
    const int current = indexOfDrive(currentFolder);
    if (current >= 0) {
        m_selected = current;
        m_tabs[size_t(current)].text = currentFolder;
    }
}

void DriveTabList::select(int index)
{
    m_selected = index >= 0 && index < count() ? index : -1;
}

void DriveTabList::setSelectedText(const QString& path)
{
    if (m_selected >= 0 && !path.isEmpty())
        m_tabs[size_t(m_selected)].text = path;
}

int DriveTabList::indexOfDrive(const QString& path) const
{
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString& root = m_tabs[size_t(i)].drive.root;
        if (BrowsePaths::isOnDrive(root, path) && (best < 0 || root.size() > m_tabs[size_t(best)].drive.root.size()))
            best = i;
    }
    return best;
}
