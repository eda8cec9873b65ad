#include "app/FolderNodeDelegate.h"

#include "browse/TPathViewFol.h"

#include <QFileInfo>

bool FolderNodeDelegate::isHidden(const QString& folder)
{
    return QFileInfo(folder).fileName().startsWith(QLatin1Char('.'));
}

bool FolderNodeDelegate::isGreyed(const QString& folder)
{
    const QFileInfo info(folder);
    // Read-only as the list shows it: no write permission for the owner.
    return isHidden(folder) || (info.exists() && !(info.permissions() & QFileDevice::WriteOwner));
}

void FolderNodeDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(TPathViewFol::LevelRole).toInt() != TPathViewFol::FolderLevel || index.data(TPathViewFol::NetworkRole).toBool())
        return;
    const QString folder = index.data(TPathViewFol::PathRole).toString();
    if (!isGreyed(folder))
        return;
    option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
    option->font.setStrikeOut(isHidden(folder));
}
