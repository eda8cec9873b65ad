#pragma once
// Icons of the browse panes, fetched for a row only when the row is first shown. Icons are
// kept in one list and rows hold an index into it, so a folder of 100,000 text files holds
// one icon. The icon theme names come from the shared MIME database; the panes ask through
// this interface so that the platform's own service can take its place.

#include "browse/TFileInfo.h"
#include "platform/Drives.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QStyle>

class FileIcons {
public:
    virtual ~FileIcons();
    // The index of the icon for an entry (its name decides for files).
    virtual int iconIndex(const TFileInfo& item) = 0;
    virtual QIcon icon(int index) const = 0;
    // Icons of the tree's fixed nodes.
    virtual QIcon computerIcon() = 0;
    virtual QIcon folderIcon(bool open) = 0;
    QIcon driveIcon(DriveType type);

    static FileIcons& instance();
    static void setInstance(FileIcons* icons);
};

class ThemeFileIcons : public FileIcons {
public:
    int iconIndex(const TFileInfo& item) override;
    QIcon icon(int index) const override;
    QIcon computerIcon() override;
    QIcon folderIcon(bool open) override;

private:
    int indexOfThemeIcon(const QString& name, const QString& fallback, QStyle::StandardPixmap standard);

    QHash<QString, int> m_byName;
    QHash<QString, int> m_bySuffix;
    QList<QIcon> m_icons;
};
