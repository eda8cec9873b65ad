#include "browse/FileIcons.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

namespace {
FileIcons* installed = nullptr;

QString driveIconName(const QString& typeText)
{
    if (typeText == QLatin1String("Removable Disk"))
        return QStringLiteral("drive-removable-media");
    if (typeText == QLatin1String("CD-ROM Disk"))
        return QStringLiteral("media-optical");
    if (typeText == QLatin1String("Network Disk"))
        return QStringLiteral("folder-remote");
    return QStringLiteral("drive-harddisk");
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

int ThemeFileIcons::indexOfThemeIcon(const QString& name, const QString& fallback)
{
    auto it = m_byName.constFind(name);
    if (it != m_byName.constEnd())
        return *it;
    QIcon icon = QIcon::fromTheme(name, QIcon::fromTheme(fallback));
    if (icon.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const bool folder = name.startsWith(QLatin1String("folder")) || name == QLatin1String("go-up");
        icon = QApplication::style()->standardIcon(folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    }
    m_icons.append(icon);
    m_byName.insert(name, int(m_icons.size() - 1));
    return int(m_icons.size() - 1);
}

int ThemeFileIcons::iconIndex(const TFileInfo& item)
{
    switch (item.kind) {
    case ItemKind::Parent: return indexOfThemeIcon(QStringLiteral("go-up"), QStringLiteral("folder"));
    case ItemKind::Folder: return indexOfThemeIcon(QStringLiteral("folder"), QStringLiteral("inode-directory"));
    case ItemKind::Drive: return indexOfThemeIcon(driveIconName(item.TypeName), QStringLiteral("drive-harddisk"));
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
    const int index = indexOfThemeIcon(type.iconName(), type.genericIconName());
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
    return icon(indexOfThemeIcon(QStringLiteral("computer"), QStringLiteral("drive-harddisk")));
}

QIcon ThemeFileIcons::folderIcon(bool open)
{
    return icon(open ? indexOfThemeIcon(QStringLiteral("folder-open"), QStringLiteral("folder"))
                     : indexOfThemeIcon(QStringLiteral("folder"), QStringLiteral("inode-directory")));
}
