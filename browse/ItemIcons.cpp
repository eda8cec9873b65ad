#include "browse/ItemIcons.h"

#include "platform/ui/FileIcons.h"

namespace {
ItemIcons* installed = nullptr;

DriveType driveTypeOf(const QString& typeText)
{
    for (DriveType type : {DriveType::Removable, DriveType::Fixed, DriveType::Network, DriveType::CdRom, DriveType::RamDisk}) {
        if (DriveTypeText(type) == typeText)
            return type;
    }
    return DriveType::Fixed;
}

} // namespace

ItemIcons::~ItemIcons() = default;

ItemIcons& ItemIcons::instance()
{
    static PlatformItemIcons fallback;
    return installed ? *installed : fallback;
}

void ItemIcons::setInstance(ItemIcons* icons)
{
    installed = icons;
}

QIcon ItemIcons::driveIcon(DriveType type)
{
    TFileInfo item;
    item.kind = ItemKind::Drive;
    item.TypeName = DriveTypeText(type);
    return icon(iconIndex(item));
}

int PlatformItemIcons::remember(const QString& key, const QIcon& icon)
{
    m_icons.append(icon);
    const int index = int(m_icons.size() - 1);
    m_byKey.insert(key, index);
    return index;
}

int PlatformItemIcons::iconIndex(const TFileInfo& item)
{
    QString key;
    switch (item.kind) {
    case ItemKind::Parent: key = QStringLiteral("parent"); break;
    case ItemKind::Folder: key = QStringLiteral("folder"); break;
    case ItemKind::Drive: key = QStringLiteral("drive:") + item.TypeName; break;
    case ItemKind::File: {
        // Files without an extension may still differ ("Makefile"): those are keyed by name.
        const QStringView name = item.Name.view();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        key = (dot > 0 ? name.mid(dot).toString() : QStringLiteral("name:") + name).toLower();
        break;
    }
    }
    auto it = m_byKey.constFind(key);
    if (it != m_byKey.constEnd())
        return *it;
    switch (item.kind) {
    case ItemKind::Parent: return remember(key, FileIcons::named(QStringLiteral("go-up"), QStringLiteral("folder")));
    case ItemKind::Folder: return remember(key, FileIcons::forFile(item.Name.toString(), true));
    case ItemKind::Drive: return remember(key, FileIcons::forDrive(driveTypeOf(item.TypeName)));
    case ItemKind::File: break;
    }
    return remember(key, FileIcons::forFile(item.Name.toString(), false));
}

QIcon PlatformItemIcons::icon(int index) const
{
    return index >= 0 && index < m_icons.size() ? m_icons[index] : QIcon();
}

QIcon PlatformItemIcons::computerIcon()
{
    return FileIcons::computer();
}

QIcon PlatformItemIcons::folderIcon(bool open)
{
    return open ? FileIcons::openFolder() : FileIcons::forFile(QStringLiteral("folder"), true);
}
