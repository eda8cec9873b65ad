#include "platform/Drives.h"

#include "platform/Prompter.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeStat.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

namespace {

QMutex sourcesMutex;

DriveSources& sourcesStore()
{
    static DriveSources sources;
    return sources;
}

bool isValidDriveId(const QString& root)
{
    return root.startsWith(QLatin1Char('/'));
}

QString normalised(const QString& path)
{
    return QDir::cleanPath(path);
}

bool holds(const QString& root, const QString& path)
{
    return root == QLatin1String("/") || path == root || path.startsWith(root + QLatin1Char('/'));
}

// The drive's statvfs answer; network and FUSE mounts are asked with a time-out.
std::optional<struct statvfs> volumeOf(const QString& path)
{
    if (!isValidDriveId(path))
        return std::nullopt;
    const DriveInfo drive = DriveOfPath(path);
    if (!drive.mounted || drive.type == DriveType::NotExist)
        return std::nullopt;
    const bool timed = drive.type == DriveType::Network || drive.fsType.startsWith(QLatin1String("fuse"));
    return VolumeStat::query(normalised(path), timed);
}

} // namespace

const DriveSources& DriveSources::current()
{
    QMutexLocker lock(&sourcesMutex);
    return sourcesStore();
}

void DriveSources::setCurrent(const DriveSources& sources)
{
    QMutexLocker lock(&sourcesMutex);
    sourcesStore() = sources;
}

void DriveSources::reset()
{
    setCurrent(DriveSources());
}

QList<DriveInfo> ListDrives()
{
    DriveSources sources;
    {
        QMutexLocker lock(&sourcesMutex);
        sources = sourcesStore();
    }
    return MountTable(sources).drives();
}

DriveInfo DriveOfPath(const QString& path)
{
    DriveInfo best;
    best.type = DriveType::NotExist;
    if (!isValidDriveId(path))
        return best;
    const QString clean = normalised(path);
    for (const DriveInfo& drive : ListDrives()) {
        if (holds(drive.root, clean) && (best.root.isEmpty() || drive.root.size() > best.root.size()))
            best = drive;
    }
    return best;
}

bool CheckDriveReady(const QString& root, bool warn)
{
    if (!isValidDriveId(root))
        Prompter::instance().error(QStringLiteral("Not a valid Drive ID"));
    if (volumeOf(root))
        return true;
    if (warn) {
        Prompter::instance().warning(QStringLiteral("There is no disk in Drive ") + root + QStringLiteral("\r")
                                     + QStringLiteral("or Drive ") + root + QStringLiteral(": is not ready"));
    }
    return false;
}

Result<bool> DriveRootExists(const QString& root)
{
    if (!isValidDriveId(root))
        return Status::failure(QStringLiteral("Drives"), QStringLiteral("Not a valid drive ID"));
    // Asking the volume first keeps a dead network mount from blocking the stat below.
    const DriveInfo drive = DriveOfPath(root);
    if (!volumeOf(drive.root))
        return false;
    return QFileInfo(root).isDir();
}

QString DriveTypeText(DriveType type)
{
    switch (type) {
    case DriveType::Unknown: return QStringLiteral("Unknown");
    case DriveType::NotExist: return QStringLiteral("Not exist");
    case DriveType::Removable: return QStringLiteral("Removable Disk");
    case DriveType::Fixed: return QStringLiteral("Fixed Disk");
    case DriveType::Network: return QStringLiteral("Network Disk");
    case DriveType::CdRom: return QStringLiteral("CD-ROM Disk");
    case DriveType::RamDisk: return QStringLiteral("RAM Disk");
    }
    return QString();
}

QString DriveTypeText(const QString& root)
{
    const DriveInfo drive = DriveOfPath(root);
    if (drive.type == DriveType::NotExist || drive.root == normalised(root))
        return DriveTypeText(drive.type);
    // A path inside a drive: it must exist. Only local drives are asked, so that a dead
    // network mount cannot block.
    if (drive.type != DriveType::Network && !drive.fsType.startsWith(QLatin1String("fuse"))
        && (!drive.mounted || !QFileInfo::exists(root)))
        return DriveTypeText(DriveType::NotExist);
    return DriveTypeText(drive.type);
}

std::int64_t DriveSizeKB(const QString& root)
{
    const auto volume = volumeOf(root);
    if (!volume)
        return 0;
    return std::int64_t(volume->f_blocks) * std::int64_t(volume->f_frsize) / 1024;
}

std::int64_t DriveFreeKB(const QString& root)
{
    const auto volume = volumeOf(root);
    if (!volume)
        return 0;
    return std::int64_t(volume->f_bavail) * std::int64_t(volume->f_frsize) / 1024;
}

bool AnyNetworkDrive()
{
    const QList<DriveInfo> drives = ListDrives();
    return std::any_of(drives.begin(), drives.end(), [](const DriveInfo& d) { return d.type == DriveType::Network; });
}
