#pragma once
// Reads the drives from the kernel's mount table (mountinfo format), the optical drives of
// fstab that have nothing mounted, the volume labels and the device facts in sysfs, and
// classifies each drive. Pure file reading: every path comes from DriveSources.

#include "platform/Drives.h"

#include <QByteArray>

class MountTable {
public:
    explicit MountTable(const DriveSources& sources);

    // The drives, "/" first, then by mount point.
    QList<DriveInfo> drives() const;
    // The same from the texts of a mount table and an fstab (the file reader's core, bounds-
    // checked for any bytes).
    QList<DriveInfo> drivesFrom(const QByteArray& mountInfo, const QByteArray& fstab) const;

    // The type of a mounted file system from its type name and device (sysfs for the
    // removable flag).
    DriveType classify(const QString& fsType, const QString& device) const;

    // "\040" style octal escapes of mountinfo and fstab fields.
    static QString unescapeOctal(const QByteArray& field);
    // "\x20" style escapes of udev's by-label names.
    static QString unescapeHex(const QString& name);

private:
    QList<DriveInfo> mountedDrives(const QByteArray& mountInfo) const;
    QList<DriveInfo> emptyOpticalDrives(const QByteArray& fstab, const QList<DriveInfo>& mounted) const;
    QString labelOf(const QString& device) const;
    bool isRemovable(const QString& deviceName) const;

    DriveSources m_sources;
};
