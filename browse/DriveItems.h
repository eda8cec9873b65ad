#pragma once
// The drives as the browse panes show them: rows of the "My Computer" view and which
// drives get a tab or a tree node.

#include "browse/TFileInfo.h"
#include "platform/Drives.h"

#include <QStringList>

#include <vector>

namespace DriveItems {

// Removable, fixed, network, CD-ROM and RAM drives are shown; others are not.
bool isShown(const DriveInfo& drive);

// Removable and CD-ROM drives are never asked for their size (asking may spin up or wait
// for a medium): they show 0 and 0.
bool isSizeAsked(const DriveInfo& drive);

// The rows of the drive view, one per shown drive, with the type text and, where asked,
// total and free kilobytes; a drive whose size cannot be read is left out. `mountPoints`
// receives the mount point of each row.
std::vector<TFileInfo> rows(const QList<DriveInfo>& drives, QStringList* mountPoints);

} // namespace DriveItems
