#pragma once
// Drives for tests of the browse components: a mount table, sysfs removable flags and labels
// written into a temporary folder and installed as the drive sources, and sizes answered
// without asking the kernel. "/" is always there (as a fixed disk of 100 GB unless added).
//
//   FakeDrives drives;
//   drives.add({"/media/usb", "vfat", "/dev/sdb1", 8e9, 2e9}).removable("/dev/sdb1").label("/dev/sdb1", "STICK");
//   drives.add({"/media/cdrom0", "iso9660", "/dev/sr0"}).notReady("/media/cdrom0");
//   drives.apply();

#include "platform/Drives.h"

#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <cstdint>

struct FakeDrive {
    QString root;
    QString fsType;
    QString device;
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0;
};

class FakeDrives {
public:
    FakeDrives();
    ~FakeDrives();

    FakeDrives& add(const FakeDrive& drive);
    FakeDrives& removable(const QString& device);
    FakeDrives& label(const QString& device, const QString& label);
    FakeDrives& notReady(const QString& root);
    // An optical drive in fstab with an empty tray (listed, never ready).
    FakeDrives& emptyOptical(const QString& root, const QString& device);
    // Writes the files and installs them; call again after more changes.
    void apply();

private:
    QTemporaryDir m_dir;
    QList<FakeDrive> m_drives;
    QSet<QString> m_removable;
    QMap<QString, QString> m_labels;
    QSet<QString> m_notReady;
    QList<QPair<QString, QString>> m_emptyOptical;
};
