#pragma once
// While one of these lives, the machine has only "/" mounted as far as the program can see.
// Emptying or asking the whole Trash then reaches the test's own home trash, never the trash
// folders of the machine's other volumes (/dev/shm/.Trash-$uid), which tests running at the
// same time in other processes fill and check.

#include "platform/Drives.h"

#include <QFile>
#include <QString>

class RootOnlyDrives {
public:
    // folder: a folder of the test's own where the mount table is written.
    explicit RootOnlyDrives(const QString& folder)
    {
        DriveSources sources;
        sources.mountInfo = folder + QStringLiteral("/mountinfo-root-only");
        sources.fstab = folder + QStringLiteral("/fstab-empty");
        write(sources.mountInfo, "1 0 254:0 / / rw,relatime - ext4 /dev/root rw\n");
        write(sources.fstab, "");
        DriveSources::setCurrent(sources);
    }
    ~RootOnlyDrives() { DriveSources::reset(); }
    RootOnlyDrives(const RootOnlyDrives&) = delete;
    RootOnlyDrives& operator=(const RootOnlyDrives&) = delete;

private:
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
};
