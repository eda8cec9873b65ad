#pragma once
// Icons of the browse panes' rows and nodes, fetched for a row only when the row is first
// shown. Icons are kept in one list and rows hold an index into it (IconIndex), so a folder
// of 100,000 text files holds one icon. The default source is the platform's icon service
// (platform/ui/FileIcons.h); tests or another desktop may install their own.

#include "browse/TFileInfo.h"
#include "platform/Drives.h"

#include <QHash>
#include <QIcon>
#include <QList>

class ItemIcons {
public:
    virtual ~ItemIcons();
    // The index of the icon for an entry (its name decides for files).
    virtual int iconIndex(const TFileInfo& item) = 0;
    virtual QIcon icon(int index) const = 0;
    virtual QIcon computerIcon() = 0;
    virtual QIcon folderIcon(bool open) = 0;
    QIcon driveIcon(DriveType type);

    static ItemIcons& instance();
    static void setInstance(ItemIcons* icons);
};

class PlatformItemIcons : public ItemIcons {
public:
    int iconIndex(const TFileInfo& item) override;
    QIcon icon(int index) const override;
    QIcon computerIcon() override;
    QIcon folderIcon(bool open) override;

private:
    int remember(const QString& key, const QIcon& icon);

    QHash<QString, int> m_byKey; // "folder", "parent", "drive:<type>", ".<suffix>"
    QList<QIcon> m_icons;
};
