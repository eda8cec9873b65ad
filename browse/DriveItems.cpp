#include "browse/DriveItems.h"

namespace DriveItems {

bool isShown(const DriveInfo& drive)
{
    switch (drive.type) {
    case DriveType::Removable:
    case DriveType::Fixed:
    case DriveType::Network:
    case DriveType::CdRom:
    case DriveType::RamDisk: return true;
    default: return false;
    }
}

bool isSizeAsked(const DriveInfo& drive)
{
    return drive.type != DriveType::Removable && drive.type != DriveType::CdRom;
}

std::vector<TFileInfo> rows(const QList<DriveInfo>& drives, QStringList* mountPoints)
{
    std::vector<TFileInfo> result;
    for (const DriveInfo& drive : drives) {
        if (!isShown(drive))
            continue;
        TFileInfo row;
        row.kind = ItemKind::Drive;
        row.Name = drive.caption();
        row.TypeName = DriveTypeText(drive.type);
        if (isSizeAsked(drive)) {
            if (!drive.mounted || !CheckDriveReady(drive.root, false))
                continue;
            row.Size = DriveSizeKB(drive.root);
            row.Free = DriveFreeKB(drive.root);
        }
        result.push_back(std::move(row));
        mountPoints->append(drive.root);
    }
    return result;
}

} // namespace DriveItems
