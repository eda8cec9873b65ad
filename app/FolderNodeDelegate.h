#pragma once
// Draws the folder tree's nodes as the main window wants them (PathViewFol1CustomDrawItem):
// a folder that is read-only or hidden in the system's grey-text colour, a hidden one also
// struck through, as the file list marks its entries. The attributes are those the tree read
// with the folder (TPathViewFol::AttributesRole: a leading dot, the parent's ".hidden" list,
// Samba's user.DOSATTRIB), so painting never touches the disk. Drives and the root are drawn
// as they are.

#include "browse/FolderLabelDelegate.h"

#include <cstdint>

class FolderNodeDelegate : public FolderLabelDelegate {
    Q_OBJECT
public:
    using FolderLabelDelegate::FolderLabelDelegate;

    // Whether a folder of these attributes (FileAttribute bits) is drawn grey, and whether
    // struck through.
    static bool isGreyed(uint32_t attributes);
    static bool isHidden(uint32_t attributes);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
