#include "platform/linux/MountTable.h"

#include "platform/FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Kernel and desktop plumbing that is never a place for the user's files.
const QSet<QString> kPseudoTypes = {
    QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"), QStringLiteral("devpts"),
    QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("securityfs"), QStringLiteral("debugfs"),
    QStringLiteral("tracefs"), QStringLiteral("pstore"), QStringLiteral("bpf"), QStringLiteral("mqueue"),
    QStringLiteral("hugetlbfs"), QStringLiteral("configfs"), QStringLiteral("fusectl"), QStringLiteral("autofs"),
    QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"), QStringLiteral("rpc_pipefs"), QStringLiteral("nsfs"),
    QStringLiteral("selinuxfs"), QStringLiteral("nfsd"), QStringLiteral("fuse.gvfsd-fuse"), QStringLiteral("fuse.portal"),
    QStringLiteral("fuse.lxcfs"), QStringLiteral("devfs"), QStringLiteral("usbfs"), QStringLiteral("xenfs"),
};

// Mounts below these folders belong to the system (runtime state, containers, snaps, the
// EFI partition, files bound into a container); /run/media is where removable media go.
const QStringList kSystemFolders = {
    QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"), QStringLiteral("/run"),
    QStringLiteral("/etc"), QStringLiteral("/snap"), QStringLiteral("/boot/efi"), QStringLiteral("/efi"),
    QStringLiteral("/var/lib/docker"), QStringLiteral("/var/lib/containers"), QStringLiteral("/var/snap"),
};

const QSet<QString> kNetworkTypes = {
    QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"),
    QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("afs"), QStringLiteral("9p"),
    QStringLiteral("ceph"), QStringLiteral("glusterfs"), QStringLiteral("davfs"), QStringLiteral("coda"),
    QStringLiteral("lustre"), QStringLiteral("sshfs"),
};

// FUSE file systems whose bytes live on another machine.
const QStringList kNetworkFuse = {
    QStringLiteral("sshfs"), QStringLiteral("rclone"), QStringLiteral("davfs"), QStringLiteral("s3fs"),
    QStringLiteral("gcsfuse"), QStringLiteral("curlftpfs"), QStringLiteral("smbnetfs"), QStringLiteral("glusterfs"),
    QStringLiteral("ceph"), QStringLiteral("goofys"), QStringLiteral("blobfuse"),
};

bool isBelow(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool isSystemMount(const QString& mountPoint)
{
    if (isBelow(mountPoint, QStringLiteral("/run/media")))
        return false;
    return std::any_of(kSystemFolders.begin(), kSystemFolders.end(),
                       [&](const QString& folder) { return isBelow(mountPoint, folder); });
}

bool isOpticalDevice(const QString& device)
{
    const QString name = QFileInfo(device).fileName();
    return device.startsWith(QLatin1String("/dev/"))
        && (name.startsWith(QLatin1String("sr")) || name.startsWith(QLatin1String("cdrom"))
            || name.startsWith(QLatin1String("dvd")) || name.startsWith(QLatin1String("scd")));
}

bool isOpticalType(const QString& fsType)
{
    const QStringList types = fsType.split(QLatin1Char(','));
    return types.contains(QLatin1String("iso9660")) || types.contains(QLatin1String("udf"));
}

// The kernel's tables are small; a bound keeps a planted huge fstab from costing memory.
QByteArray readSmallFile(const QString& path)
{
    constexpr qint64 kLimit = 4 << 20;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kLimit) : QByteArray();
}

QString readTrimmed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.read(64)).trimmed();
}

// The device's kernel name ("sdb1"), following /dev/disk/by-* and /dev/mapper links.
QString kernelName(const QString& device)
{
    QFileInfo info(device);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return QFileInfo(target).fileName();
    }
    return info.fileName();
}

} // namespace

MountTable::MountTable(const DriveSources& sources) : m_sources(sources) {}

QString MountTable::unescapeOctal(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (char d : digits)
                ok = ok && d >= '0' && d <= '7';
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    // Mount points are paths: their bytes are kept (FileName).
    return FileName::decode(out);
}

QString MountTable::unescapeHex(const QString& name)
{
    QByteArray out;
    const QByteArray bytes = name.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            bool ok = false;
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(bytes[i]);
    }
    return QString::fromUtf8(out);
}

bool MountTable::isRemovable(const QString& deviceName) const
{
    // A partition's own folder has a "partition" file; the removable flag sits on its disk,
    // which is the partition folder's parent once the class link is resolved.
    const QString entry = m_sources.sysClassBlock + QLatin1Char('/') + deviceName;
    QString disk = QFileInfo(entry).canonicalFilePath();
    if (disk.isEmpty())
        return false;
    if (QFileInfo::exists(disk + QStringLiteral("/partition")))
        disk = QFileInfo(disk).path();
    return readTrimmed(disk + QStringLiteral("/removable")) == QLatin1String("1");
}

DriveType MountTable::classify(const QString& fsType, const QString& device) const
{
    if (fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs"))
        return DriveType::RamDisk;
    if (kNetworkTypes.contains(fsType))
        return DriveType::Network;
    if (fsType.startsWith(QLatin1String("fuse."))) {
        const QString sub = fsType.mid(5);
        if (std::any_of(kNetworkFuse.begin(), kNetworkFuse.end(), [&](const QString& n) { return sub.startsWith(n); }))
            return DriveType::Network;
    }
    if (isOpticalType(fsType) || isOpticalDevice(device))
        return DriveType::CdRom;
    if (device.startsWith(QLatin1String("/dev/")) && isRemovable(kernelName(device)))
        return DriveType::Removable;
    return DriveType::Fixed;
}

QString MountTable::labelOf(const QString& device) const
{
    if (!device.startsWith(QLatin1Char('/')))
        return QString();
    const QString name = kernelName(device);
    const QFileInfoList links = QDir(m_sources.diskByLabel).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links) {
        if (QFileInfo(link.symLinkTarget()).fileName() == name)
            return unescapeHex(link.fileName());
    }
    return QString();
}

QList<DriveInfo> MountTable::mountedDrives(const QByteArray& mountInfo) const
{
    QList<DriveInfo> drives;
    QHash<QString, qsizetype> byRoot;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    for (const QByteArray& line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 6 || dash + 2 >= fields.size())
            continue;
        DriveInfo drive;
        drive.root = unescapeOctal(fields[4]);
        drive.fsType = unescapeOctal(fields[dash + 1]);
        drive.device = unescapeOctal(fields[dash + 2]);
        if (!drive.root.startsWith(QLatin1Char('/')) || kPseudoTypes.contains(drive.fsType)
            || (drive.root != QLatin1String("/") && isSystemMount(drive.root)))
            continue;
        drive.type = classify(drive.fsType, drive.device);
        drive.label = labelOf(drive.device);
        // A later mount on the same point hides the earlier one.
        if (byRoot.contains(drive.root)) {
            drives[byRoot.value(drive.root)] = drive;
        } else {
            byRoot.insert(drive.root, drives.size());
            drives.append(drive);
        }
    }
    return drives;
}

QList<DriveInfo> MountTable::emptyOpticalDrives(const QByteArray& fstab, const QList<DriveInfo>& mounted) const
{
    QList<DriveInfo> drives;
    for (const QByteArray& line : fstab.split('\n')) {
        const QByteArray text = line.simplified();
        if (text.isEmpty() || text.startsWith('#'))
            continue;
        const QList<QByteArray> fields = text.split(' ');
        if (fields.size() < 3)
            continue;
        DriveInfo drive;
        drive.device = unescapeOctal(fields[0]);
        drive.root = QDir::cleanPath(unescapeOctal(fields[1]));
        drive.fsType = unescapeOctal(fields[2]);
        if (!drive.root.startsWith(QLatin1Char('/')) || !(isOpticalDevice(drive.device) || isOpticalType(drive.fsType)))
            continue;
        const bool taken = std::any_of(mounted.begin(), mounted.end(), [&](const DriveInfo& d) {
            return d.root == drive.root || (d.device == drive.device && d.device.startsWith(QLatin1Char('/')));
        });
        if (taken)
            continue;
        drive.type = DriveType::CdRom;
        drive.mounted = false;
        drives.append(drive);
    }
    return drives;
}

QList<DriveInfo> MountTable::drives() const
{
    return drivesFrom(readSmallFile(m_sources.mountInfo), readSmallFile(m_sources.fstab));
}

QList<DriveInfo> MountTable::drivesFrom(const QByteArray& mountInfo, const QByteArray& fstab) const
{
    QList<DriveInfo> drives = mountedDrives(mountInfo);
    drives += emptyOpticalDrives(fstab, drives);
    const bool hasRoot = std::any_of(drives.begin(), drives.end(), [](const DriveInfo& d) { return d.root == QLatin1String("/"); });
    if (!hasRoot) {
        DriveInfo root;
        root.root = QStringLiteral("/");
        root.type = DriveType::Fixed;
        drives.append(root);
    }
    std::sort(drives.begin(), drives.end(), [](const DriveInfo& a, const DriveInfo& b) {
        if ((a.root == QLatin1String("/")) != (b.root == QLatin1String("/")))
            return a.root == QLatin1String("/");
        return a.root < b.root;
    });
    return drives;
}
