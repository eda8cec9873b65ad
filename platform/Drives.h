#pragma once
// Drives and the routines that ask about them and act on removable media.
//
// A drive is a mounted volume: its mount point is the drive's root and its id. The list comes
// from /proc/self/mountinfo with the kernel's pseudo file systems and system mounts left out;
// "/" is always present. An optical drive listed in /etc/fstab whose tray is empty (and which
// is therefore not mounted) is listed too, as a drive that is not ready, so that the user sees
// the CD drive and can be told there is no disk in it.
//
// Every routine is safe to call from the UI thread: the size of a network or FUSE mount is
// asked for on a helper thread with a time-out, and a mount that does not answer is not ready.

#include "platform/Status.h"

#include <QList>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>

struct statvfs;

// The drive types and their numbers as the rest of the program knows them.
enum class DriveType {
    Unknown = 0,
    NotExist = 1,
    Removable = 2,
    Fixed = 3,
    Network = 4,
    CdRom = 5,
    RamDisk = 6,
};

struct DriveInfo {
    QString root;       // mount point, "/" or "/media/usb" (no trailing "/" except for "/")
    QString device;     // "/dev/sdb1", "server:/export", "//host/share", "tmpfs", ...
    QString fsType;     // "ext4", "nfs4", "cifs", "iso9660", "fuse.sshfs", ...
    QString label;      // volume label, empty when the volume has none
    DriveType type = DriveType::Unknown;
    bool mounted = true; // false for an optical drive from fstab with nothing in it

    QString id() const { return root; }
    // What a tab or tree node shows: the volume label, else the mount path.
    QString caption() const { return label.isEmpty() ? root : label; }
};

// Where the drive routines read the system's state; tests point these at fixture files.
struct DriveSources {
    QString mountInfo = QStringLiteral("/proc/self/mountinfo");
    QString fstab = QStringLiteral("/etc/fstab");
    QString sysClassBlock = QStringLiteral("/sys/class/block");
    QString diskByLabel = QStringLiteral("/dev/disk/by-label");

    static const DriveSources& current();
    static void setCurrent(const DriveSources& sources);
    static void reset();
};

// The system's answer to statvfs(path); false when the call failed. Tests replace it to make
// a mount hang or fail.
using VolumeStatFunction = std::function<bool(const QByteArray& path, struct statvfs* out)>;
void setVolumeStatFunction(VolumeStatFunction function); // empty: the real statvfs
// How long the UI waits for a network or FUSE mount to answer before calling it not ready.
void setVolumeStatTimeout(std::chrono::milliseconds timeout);

// The drives, "/" first, then by mount point.
QList<DriveInfo> ListDrives();
// The drive that holds the path (the longest mount point that is the path or a folder above
// it). A path that is not absolute gives a DriveInfo with type NotExist and an empty root.
DriveInfo DriveOfPath(const QString& path);

// Whether the drive is ready: its size can be read. An invalid drive id (empty or relative
// path) first shows the error "Not a valid Drive ID". When not ready and warn is set, shows
// "There is no disk in Drive <root>\ror Drive <root>: is not ready".
bool CheckDriveReady(const QString& root, bool warn);
// Whether the drive's root folder exists; an invalid drive id fails with "Not a valid drive ID".
Result<bool> DriveRootExists(const QString& root);
// "Unknown", "Not exist", "Removable Disk", "Fixed Disk", "Network Disk", "CD-ROM Disk",
// "RAM Disk" for the drive that holds the path; "Not exist" when no drive holds it or the
// path does not exist.
QString DriveTypeText(const QString& root);
QString DriveTypeText(DriveType type);
// Total and free (available to this user) size of the drive that holds the path, in KB with
// the remainder dropped; 0 when the size cannot be read.
std::int64_t DriveSizeKB(const QString& root);
std::int64_t DriveFreeKB(const QString& root);
// Whether any drive is a network drive.
bool AnyNetworkDrive();
// Ejects the drive's medium: unmount and eject through UDisks2, else the CD-ROM eject ioctl on
// the device. True when a request succeeded; an error text reported on the way is shown.
bool EjectMedia(const QString& root);
// Opens and closes the tray of the drive (so that a drive that missed a disk change sees the
// disk). Failures are silent.
void CycleMedia(const QString& root);
