#include "platform/ui/FileIcons.h"

#include "platform/FileTypes.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

namespace {

// The style's own picture for an icon name, for desktops without an icon theme: drives,
// the computer and folders keep pictures that tell them apart.
QStyle::StandardPixmap standardPixmapFor(const QString& iconName)
{
    if (iconName.startsWith(QLatin1String("drive-optical")) || iconName.startsWith(QLatin1String("media-optical")))
        return QStyle::SP_DriveCDIcon;
    if (iconName.startsWith(QLatin1String("drive-")))
        return QStyle::SP_DriveHDIcon;
    if (iconName == QLatin1String("folder-remote") || iconName.startsWith(QLatin1String("network")))
        return QStyle::SP_DriveNetIcon;
    if (iconName == QLatin1String("computer"))
        return QStyle::SP_ComputerIcon;
    if (iconName.startsWith(QLatin1String("folder")))
        return QStyle::SP_DirIcon;
    return QStyle::SP_FileIcon;
}

} // namespace

QIcon FileIcons::named(const QString& iconName, const QString& fallbackName)
{
    static QHash<QString, QIcon> cache;
    // The theme is part of the key, so a theme changed while the program runs takes effect.
    const QString key = QIcon::themeName() + QLatin1Char('|') + iconName + QLatin1Char('|') + fallbackName;
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QIcon icon = QIcon::fromTheme(iconName, QIcon::fromTheme(fallbackName));
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(standardPixmapFor(iconName));
    cache.insert(key, icon);
    return icon;
}

QIcon FileIcons::forFile(const QString& path, bool isFolder)
{
    const FileTypeInfo info = FileTypes::of(path, isFolder);
    return named(info.iconName, info.genericIconName);
}

QIcon FileIcons::openFolder()
{
    return named(QStringLiteral("folder-open"), QStringLiteral("folder"));
}

QIcon FileIcons::computer()
{
    return named(QStringLiteral("computer"), QStringLiteral("folder"));
}

QIcon FileIcons::forDrive(DriveType type)
{
    switch (type) {
    case DriveType::Removable: return named(QStringLiteral("drive-removable-media"), QStringLiteral("drive-harddisk"));
    case DriveType::Network: return named(QStringLiteral("folder-remote"), QStringLiteral("network-server"));
    case DriveType::CdRom: return named(QStringLiteral("drive-optical"), QStringLiteral("media-optical"));
    case DriveType::RamDisk: return named(QStringLiteral("drive-harddisk-solidstate"), QStringLiteral("drive-harddisk"));
    default: return named(QStringLiteral("drive-harddisk"), QStringLiteral("folder"));
    }
}
