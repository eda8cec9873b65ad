// The drive list, the type table and the size arithmetic on fixture mount tables and sysfs
// trees, and the ready/not-ready answers with the program's messages.
#include "platform/Drives.h"

#include "support/FakeDrives.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <sys/statvfs.h>

#include <atomic>
#include <thread>

namespace {

// A container whose root is an overlay, with a CD, a USB stick, a fixed data disk, NFS and
// CIFS shares, an sshfs mount, /tmp in RAM and the usual kernel and runtime mounts around.
const char kMountInfo[] =
    "550 480 0:52 / / rw,relatime master:1 - overlay overlay rw,lowerdir=/l,upperdir=/u,workdir=/w\n"
    "551 550 0:55 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw\n"
    "552 550 0:56 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755\n"
    "553 552 0:57 / /dev/pts rw,nosuid,noexec,relatime - devpts devpts rw,gid=5,mode=620\n"
    "554 550 0:58 / /sys ro,nosuid,nodev,noexec,relatime - sysfs sysfs ro\n"
    "555 554 0:26 / /sys/fs/cgroup ro,nosuid,nodev,noexec,relatime - cgroup2 cgroup rw\n"
    "556 550 254:1 /docker/hosts /etc/hosts rw,relatime - ext4 /dev/vda1 rw\n"
    "557 550 0:60 / /run rw,nosuid,nodev - tmpfs tmpfs rw,size=1600k\n"
    "558 557 0:61 / /run/user/1000 rw,nosuid,nodev,relatime - tmpfs tmpfs rw,size=800k,mode=700\n"
    "559 550 0:62 / /tmp rw,nosuid,nodev - tmpfs tmpfs rw\n"
    "560 550 11:0 / /media/cdrom0 ro,nosuid,nodev,relatime - iso9660 /dev/sr0 ro,norock,check=r\n"
    "561 557 8:17 / /run/media/ann/MY\\040STICK rw,nosuid,nodev,relatime - vfat /dev/sdb1 rw,fmask=0022\n"
    "562 550 8:33 / /data rw,relatime - ext4 /dev/sdc1 rw\n"
    "563 550 0:70 / /mnt/nfs rw,relatime - nfs4 server:/export rw,vers=4.2\n"
    "564 550 0:71 / /mnt/share rw,relatime - cifs //host/share rw,vers=3.1.1\n"
    "565 550 0:72 / /mnt/remote rw,relatime - fuse.sshfs ann@host:/home rw,user_id=1000\n"
    "566 550 0:73 / /snap/core/1 ro,relatime - squashfs /dev/loop0 ro\n"
    "567 550 8:33 / /data rw,relatime - xfs /dev/sdc2 rw\n";

class DrivesTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        DriveSources sources;
        sources.mountInfo = makeFile(QStringLiteral("mountinfo"), kMountInfo);
        sources.fstab = makeFile(QStringLiteral("fstab"),
                                 "# static file system information\n"
                                 "UUID=1234 / ext4 errors=remount-ro 0 1\n"
                                 "/dev/sr0 /media/cdrom0 udf,iso9660 user,noauto 0 0\n"
                                 "/dev/sr1 /media/cdrom1 udf,iso9660 user,noauto 0 0\n");
        // sysfs: sdb is removable (a USB stick), sdc is not; partitions link to their disk.
        const QString sys = makeFolder(QStringLiteral("sys"));
        makeFile(QStringLiteral("sys/devices/usb1/block/sdb/removable"), "1\n");
        makeFile(QStringLiteral("sys/devices/usb1/block/sdb/sdb1/partition"), "1\n");
        makeFile(QStringLiteral("sys/devices/ata1/block/sdc/removable"), "0\n");
        makeFile(QStringLiteral("sys/devices/ata1/block/sdc/sdc1/partition"), "1\n");
        makeFile(QStringLiteral("sys/devices/ata1/block/sdc/sdc2/partition"), "2\n");
        makeFolder(QStringLiteral("sys/class/block"));
        for (const char* part : {"usb1/block/sdb/sdb1", "ata1/block/sdc/sdc1", "ata1/block/sdc/sdc2"}) {
            const QString target = sys + QStringLiteral("/devices/") + QLatin1String(part);
            QFile::link(target, sys + QStringLiteral("/class/block/") + QFileInfo(target).fileName());
        }
        sources.sysClassBlock = sys + QStringLiteral("/class/block");
        sources.diskByLabel = makeFolder(QStringLiteral("by-label"));
        QFile::link(QStringLiteral("../../sdb1"), sources.diskByLabel + QStringLiteral("/MY\\x20STICK"));
        DriveSources::setCurrent(sources);
    }
    void TearDown() override
    {
        DriveSources::reset();
        setVolumeStatFunction({});
        setVolumeStatTimeout(std::chrono::milliseconds(2000));
        TempHomeTest::TearDown();
    }
};

TEST_F(DrivesTest, ListsUserVolumesWithTypesAndLeavesOutSystemMounts)
{
    struct Expected {
        const char* root;
        DriveType type;
        const char* caption;
        bool mounted;
    };
    const Expected expected[] = {
        {"/", DriveType::Fixed, "/", true},
        {"/data", DriveType::Fixed, "/data", true},
        {"/media/cdrom0", DriveType::CdRom, "/media/cdrom0", true},
        {"/media/cdrom1", DriveType::CdRom, "/media/cdrom1", false},
        {"/mnt/nfs", DriveType::Network, "/mnt/nfs", true},
        {"/mnt/remote", DriveType::Network, "/mnt/remote", true},
        {"/mnt/share", DriveType::Network, "/mnt/share", true},
        {"/run/media/ann/MY STICK", DriveType::Removable, "MY STICK", true},
        {"/tmp", DriveType::RamDisk, "/tmp", true},
    };
    const QList<DriveInfo> drives = ListDrives();
    ASSERT_EQ(drives.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < drives.size(); ++i) {
        SCOPED_TRACE(expected[i].root);
        EXPECT_EQ(drives[i].root, QString::fromUtf8(expected[i].root));
        EXPECT_EQ(drives[i].id(), drives[i].root);
        EXPECT_EQ(drives[i].type, expected[i].type);
        EXPECT_EQ(drives[i].caption(), QString::fromUtf8(expected[i].caption));
        EXPECT_EQ(drives[i].mounted, expected[i].mounted);
    }
    // The later of two mounts on /data hides the earlier.
    EXPECT_EQ(drives[1].fsType, QStringLiteral("xfs"));
    EXPECT_EQ(drives[1].device, QStringLiteral("/dev/sdc2"));
    EXPECT_TRUE(AnyNetworkDrive());
}

TEST_F(DrivesTest, RootIsAlwaysPresentAndBrokenLinesAreSkipped)
{
    DriveSources sources = DriveSources::current();
    sources.mountInfo = makeFile(QStringLiteral("bad"), "garbage\n1 2 3\n\n9 9 0:1 / /x rw - \n"
                                                        "70 1 8:1 / /home rw - ext4 /dev/nope rw\n");
    sources.fstab = QStringLiteral("/nonexistent");
    DriveSources::setCurrent(sources);
    const QList<DriveInfo> drives = ListDrives();
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives[0].root, QStringLiteral("/"));
    EXPECT_EQ(drives[0].type, DriveType::Fixed);
    EXPECT_EQ(drives[1].root, QStringLiteral("/home"));
    EXPECT_FALSE(AnyNetworkDrive());

    sources.mountInfo = QStringLiteral("/nonexistent");
    DriveSources::setCurrent(sources);
    ASSERT_EQ(ListDrives().size(), 1);
}

TEST_F(DrivesTest, TypeTextOfRootsAndPaths)
{
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"/mnt/share", "Network Disk"},
        {"/mnt/nfs/deep/folder", "Network Disk"}, // not asked: could hang
        {"/media/cdrom0", "CD-ROM Disk"},
        {"/media/cdrom1", "CD-ROM Disk"},
        {"/tmp", "RAM Disk"},
        {"/run/media/ann/MY STICK", "Removable Disk"},
        {"/", "Fixed Disk"},
        {"/no/such/folder/here", "Not exist"},
        {"relative", "Not exist"},
        {"", "Not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DriveTypeText(QString::fromUtf8(c.path)), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(DriveTypeText(DriveType::Unknown), QStringLiteral("Unknown"));
    EXPECT_EQ(DriveTypeText(DriveType(9)), QString());
}

TEST_F(DrivesTest, SizesDropTheRemainderAndUnreadableGivesZero)
{
    setVolumeStatFunction([](const QByteArray& path, struct statvfs* out) {
        if (path != "/data")
            return false;
        *out = {};
        out->f_frsize = 4096;
        out->f_blocks = 1000001; // 4096004096 bytes
        out->f_bavail = 3;
        return true;
    });
    EXPECT_EQ(DriveSizeKB(QStringLiteral("/data")), 4000004);
    EXPECT_EQ(DriveFreeKB(QStringLiteral("/data")), 12);
    EXPECT_EQ(DriveSizeKB(QStringLiteral("/tmp")), 0);
    EXPECT_EQ(DriveFreeKB(QStringLiteral("relative")), 0);
    EXPECT_EQ(DriveSizeKB(QStringLiteral("/media/cdrom1")), 0); // empty tray: never asked
}

TEST_F(DrivesTest, EmptyDriveWarnsWithItsMountPointOnlyWhenAsked)
{
    setVolumeStatFunction([](const QByteArray&, struct statvfs*) { return false; });
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(CheckDriveReady(QStringLiteral("/media/cdrom0"), true));
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Warning);
    EXPECT_EQ(prompter().last().text,
              QStringLiteral("There is no disk in Drive /media/cdrom0\ror Drive /media/cdrom0: is not ready"));

    EXPECT_FALSE(CheckDriveReady(QStringLiteral("/media/cdrom0"), false));
    EXPECT_EQ(prompter().records().size(), 1);
}

TEST_F(DrivesTest, InvalidDriveIdIsReported)
{
    prompter().answer(PromptButton::Ok).answer(PromptButton::Ok);
    EXPECT_FALSE(CheckDriveReady(QStringLiteral("c:"), true));
    ASSERT_EQ(prompter().records().size(), 2);
    EXPECT_EQ(prompter().records()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompter().records()[0].text, QStringLiteral("Not a valid Drive ID"));

    const Result<bool> exists = DriveRootExists(QStringLiteral("c:"));
    EXPECT_FALSE(exists.value());
    EXPECT_EQ(exists.errorString(), QStringLiteral("Not a valid drive ID"));
}

TEST_F(DrivesTest, ReadyRootExistsOnARealFolder)
{
    DriveSources sources = DriveSources::current();
    sources.mountInfo = makeFile(QStringLiteral("real"), "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    DriveSources::setCurrent(sources);
    EXPECT_TRUE(CheckDriveReady(QStringLiteral("/"), true));
    EXPECT_TRUE(DriveRootExists(QStringLiteral("/")).value());
    EXPECT_TRUE(DriveRootExists(home().home()).value());
    EXPECT_FALSE(DriveRootExists(home().home() + QStringLiteral("/missing")).value());
    EXPECT_GT(DriveSizeKB(QStringLiteral("/")), 0);
}

TEST_F(DrivesTest, HungNetworkMountIsNotReadyWithinTheTimeOut)
{
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto calls = std::make_shared<std::atomic<int>>(0);
    setVolumeStatTimeout(std::chrono::milliseconds(100));
    setVolumeStatFunction([release, calls](const QByteArray&, struct statvfs* out) {
        ++*calls;
        while (!*release)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        *out = {};
        return true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CheckDriveReady(QStringLiteral("/mnt/nfs"), false));
    EXPECT_EQ(DriveSizeKB(QStringLiteral("/mnt/nfs")), 0); // still hung: answered at once
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(*calls, 1);
    *release = true;
    // Once the server answers, the mount is asked again.
    for (int i = 0; i < 200 && !CheckDriveReady(QStringLiteral("/mnt/nfs"), false); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(CheckDriveReady(QStringLiteral("/mnt/nfs"), false));
}

TEST_F(DrivesTest, EjectOfADriveWithoutDeviceFails)
{
    EXPECT_FALSE(EjectMedia(QStringLiteral("/mnt/nfs")));
    CycleMedia(QStringLiteral("/mnt/share")); // silent
    EXPECT_TRUE(prompter().records().isEmpty());
}

} // namespace

namespace {

// The fake that the browse components' tests use must give the same answers as real tables.
TEST(FakeDrivesTest, DescribesDrivesAsTheRoutinesSeeThem)
{
    FakeDrives drives;
    drives.add({QStringLiteral("/media/my stick"), QStringLiteral("vfat"), QStringLiteral("/dev/sdb1"), 8000000000, 2048000})
        .removable(QStringLiteral("/dev/sdb1"))
        .label(QStringLiteral("/dev/sdb1"), QStringLiteral("STICK"));
    drives.add({QStringLiteral("/mnt/nas"), QStringLiteral("nfs4"), QStringLiteral("nas:/vol"), 1 << 30, 0}).notReady(QStringLiteral("/mnt/nas"));
    drives.emptyOptical(QStringLiteral("/media/cdrom0"), QStringLiteral("/dev/sr0"));
    drives.apply();
    const QList<DriveInfo> list = ListDrives();
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[1].root, QStringLiteral("/media/cdrom0"));
    EXPECT_EQ(list[2].caption(), QStringLiteral("STICK"));
    EXPECT_EQ(list[2].type, DriveType::Removable);
    EXPECT_EQ(DriveFreeKB(QStringLiteral("/media/my stick/sub")), 2000);
    EXPECT_EQ(DriveSizeKB(QStringLiteral("/")), 97656250);
    EXPECT_FALSE(CheckDriveReady(QStringLiteral("/mnt/nas"), false));
    EXPECT_FALSE(CheckDriveReady(QStringLiteral("/media/cdrom0"), false));
    EXPECT_TRUE(AnyNetworkDrive());
}

} // namespace

namespace {

TEST(RealDrivesTest, TheMachinesOwnTableGivesRootFirst)
{
    DriveSources::reset();
    const QList<DriveInfo> drives = ListDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().root, QStringLiteral("/"));
    for (const DriveInfo& drive : drives) {
        EXPECT_TRUE(drive.root.startsWith(QLatin1Char('/'))) << qPrintable(drive.root);
        EXPECT_FALSE(drive.root.startsWith(QLatin1String("/proc")) || drive.root.startsWith(QLatin1String("/sys")));
    }
    EXPECT_TRUE(CheckDriveReady(QStringLiteral("/"), false));
}

} // namespace
