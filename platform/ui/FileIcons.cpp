#include "platform/ui/FileIcons.h"

#include "platform/FileTypes.h"

#include <QFileIconProvider>
#include <QHash>

QIcon FileIcons::named(const QString& iconName, const QString& fallbackName)
{
    static QHash<QString, QIcon> cache;
    const QString key = iconName + QLatin1Char('|') + fallbackName;
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QIcon icon = QIcon::fromTheme(iconName, QIcon::fromTheme(fallbackName));
    if (icon.isNull()) {
        static const QFileIconProvider provider;
        icon = provider.icon(iconName.startsWith(QLatin1String("folder")) ? QFileIconProvider::Folder : QFileIconProvider::File);
    }
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
