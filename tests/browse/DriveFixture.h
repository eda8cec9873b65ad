#pragma once
// A computer with five drives, all of them folders under the test's temporary root: the
// system disk "/", a fixed data disk, a USB stick, an NFS share, a RAM disk and a CD-ROM.
// The volume answers come from a fake that records which mount points were asked and can
// make any of them "not ready". The lists behind a window ask it from worker threads, so its
// record is kept under a lock.

#include "support/TempHome.h"

#include "platform/Drives.h"

#include <QMutex>
#include <QSet>
#include <QStringList>

#include <sys/statvfs.h>

#include <memory>

class DriveFixture : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_data = makeFolder(QStringLiteral("drives/data"));
        m_usb = makeFolder(QStringLiteral("drives/usb"));
        m_nfs = makeFolder(QStringLiteral("drives/nfs"));
        m_ram = makeFolder(QStringLiteral("drives/ram"));
        m_cd = makeFolder(QStringLiteral("drives/cd"));
        const QByteArray mountInfo = "1 0 254:1 / / rw - ext4 /dev/vda1 rw\n"
                                     "2 1 8:33 / " + m_data.toUtf8() + " rw - ext4 /dev/sdc1 rw\n"
                                     "3 1 8:17 / " + m_usb.toUtf8() + " rw - vfat /dev/sdb1 rw\n"
                                     "4 1 0:70 / " + m_nfs.toUtf8() + " rw - nfs4 server:/export rw\n"
                                     "5 1 0:62 / " + m_ram.toUtf8() + " rw - tmpfs tmpfs rw\n"
                                     "6 1 11:0 / " + m_cd.toUtf8() + " ro - iso9660 /dev/sr0 ro\n";
        DriveSources sources;
        sources.mountInfo = makeFile(QStringLiteral("mountinfo"), mountInfo);
        sources.fstab = makeFile(QStringLiteral("fstab"), "");
        const QString sys = makeFolder(QStringLiteral("sys"));
        makeFile(QStringLiteral("sys/devices/usb1/block/sdb/removable"), "1\n");
        makeFile(QStringLiteral("sys/devices/usb1/block/sdb/sdb1/partition"), "1\n");
        makeFolder(QStringLiteral("sys/class/block"));
        QFile::link(sys + QStringLiteral("/devices/usb1/block/sdb/sdb1"), sys + QStringLiteral("/class/block/sdb1"));
        sources.sysClassBlock = sys + QStringLiteral("/class/block");
        sources.diskByLabel = makeFolder(QStringLiteral("by-label"));
        DriveSources::setCurrent(sources);
        m_volumes = std::make_shared<Volumes>();
        setVolumeStatFunction([volumes = m_volumes](const QByteArray& path, struct statvfs* out) {
            const QString root = QString::fromUtf8(path);
            {
                QMutexLocker lock(&volumes->mutex);
                volumes->asked.append(root);
                if (volumes->notReady.contains(root))
                    return false;
            }
            *out = {};
            out->f_frsize = 4096;
            out->f_blocks = 262144 * 10; // 10 GiB
            out->f_bavail = 262144 * 3;  // 3 GiB
            return true;
        });
    }

    void TearDown() override
    {
        setVolumeStatFunction({});
        DriveSources::reset();
        TempHomeTest::TearDown();
    }

    void setNotReady(const QString& root)
    {
        QMutexLocker lock(&m_volumes->mutex);
        m_volumes->notReady.insert(root);
    }
    QStringList askedVolumes() const
    {
        QMutexLocker lock(&m_volumes->mutex);
        return m_volumes->asked;
    }

    QString m_data, m_usb, m_nfs, m_ram, m_cd;

private:
    struct Volumes {
        QMutex mutex;
        QSet<QString> notReady;
        QStringList asked;
    };
    std::shared_ptr<Volumes> m_volumes;
};
