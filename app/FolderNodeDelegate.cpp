#include "app/FolderNodeDelegate.h"

#include "browse/FileAttributes.h"
#include "browse/TPathViewFol.h"

bool FolderNodeDelegate::isHidden(uint32_t attributes)
{
    return attributes & FileAttribute::Hidden;
}

bool FolderNodeDelegate::isGreyed(uint32_t attributes)
{
    return attributes & (FileAttribute::Hidden | FileAttribute::ReadOnly | FileAttribute::System);
}

void FolderNodeDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    FolderLabelDelegate::initStyleOption(option, index);
    if (index.data(TPathViewFol::LevelRole).toInt() != TPathViewFol::FolderLevel)
        return;
    const uint32_t attributes = index.data(TPathViewFol::AttributesRole).toUInt();
    if (!isGreyed(attributes))
        return;
    option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
    option->font.setStrikeOut(isHidden(attributes));
}
