#include "browse/FileIcons.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

namespace {
FileIcons* installed = nullptr;

struct DriveIcon {
    QString themeName;
    QStyle::StandardPixmap standard;
};

DriveIcon driveIconFor(const QString& typeText)
{
    if (typeText == QLatin1String("Removable Disk"))
        return {QStringLiteral("drive-removable-media"), QStyle::SP_DriveFDIcon};
    if (typeText == QLatin1String("CD-ROM Disk"))
        return {QStringLiteral("media-optical"), QStyle::SP_DriveCDIcon};
    if (typeText == QLatin1String("Network Disk"))
        return {QStringLiteral("folder-remote"), QStyle::SP_DriveNetIcon};
    return {QStringLiteral("drive-harddisk"), QStyle::SP_DriveHDIcon};
}

} // namespace

FileIcons::~FileIcons() = default;

FileIcons& FileIcons::instance()
{
    static ThemeFileIcons fallback;
    return installed ? *installed : fallback;
}

void FileIcons::setInstance(FileIcons* icons)
{
    installed = icons;
}

QIcon FileIcons::driveIcon(DriveType type)
{
    TFileInfo item;
    item.kind = ItemKind::Drive;
    item.TypeName = DriveTypeText(type);
    return icon(iconIndex(item));
}

int ThemeFileIcons::indexOfThemeIcon(const QString& name, const QString& fallback, QStyle::StandardPixmap standard)
{
    auto it = m_byName.constFind(name);
    if (it != m_byName.constEnd())
        return *it;
    QIcon icon = QIcon::fromTheme(name, QIcon::fromTheme(fallback));
    // Without an icon theme (a bare desktop, the offscreen platform) the style's icons do.
    if (icon.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance()))
        icon = QApplication::style()->standardIcon(standard);
    m_icons.append(icon);
    m_byName.insert(name, int(m_icons.size() - 1));
    return int(m_icons.size() - 1);
}

int ThemeFileIcons::iconIndex(const TFileInfo& item)
{
    switch (item.kind) {
    case ItemKind::Parent: return indexOfThemeIcon(QStringLiteral("go-up"), QStringLiteral("folder"), QStyle::SP_FileDialogToParent);
    case ItemKind::Folder: return indexOfThemeIcon(QStringLiteral("folder"), QStringLiteral("inode-directory"), QStyle::SP_DirIcon);
    case ItemKind::Drive: {
        const DriveIcon drive = driveIconFor(item.TypeName);
        return indexOfThemeIcon(drive.themeName, QStringLiteral("drive-harddisk"), drive.standard);
    }
    case ItemKind::File: break;
    }
    const qsizetype dot = item.Name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot > 0 ? item.Name.mid(dot).toLower() : QString();
    if (!suffix.isEmpty()) {
        auto it = m_bySuffix.constFind(suffix);
        if (it != m_bySuffix.constEnd())
            return *it;
    }
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(item.Name, QMimeDatabase::MatchExtension);
    const int index = indexOfThemeIcon(type.iconName(), type.genericIconName(), QStyle::SP_FileIcon);
    if (!suffix.isEmpty())
        m_bySuffix.insert(suffix, index);
    return index;
}

QIcon ThemeFileIcons::icon(int index) const
{
    return index >= 0 && index < m_icons.size() ? m_icons[index] : QIcon();
}

QIcon ThemeFileIcons::computerIcon()
{
    return icon(indexOfThemeIcon(QStringLiteral("computer"), QStringLiteral("drive-harddisk"), QStyle::SP_ComputerIcon));
}

QIcon ThemeFileIcons::folderIcon(bool open)
{
    return icon(open ? indexOfThemeIcon(QStringLiteral("folder-open"), QStringLiteral("folder"), QStyle::SP_DirOpenIcon)
                     : indexOfThemeIcon(QStringLiteral("folder"), QStringLiteral("inode-directory"), QStyle::SP_DirIcon));
}
