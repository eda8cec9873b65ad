#pragma once
// The machine's CD drives and whether a disc is in each, read from sysfs without opening
// the drives (opening a drive may spin it up or block while it reads the disc): every
// /sys/block/sr<N> is the drive /dev/sr<N>, and its size is 0 while the tray is empty.

#include <QList>
#include <QString>

struct CdDrive {
    QString device; // "/dev/sr0"
    bool hasDisc = false;
    bool operator==(const CdDrive&) const = default;
};

// In the order of their numbers. sysBlock: "/sys/block" normally; tests give a fake tree.
QList<CdDrive> ListCdDrives(const QString& sysBlock = QStringLiteral("/sys/block"));
