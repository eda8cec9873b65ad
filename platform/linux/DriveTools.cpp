#include "platform/Shell.h"

#include "platform/Drives.h"

#include <QDir>

bool IsSystemVolume(const QString& path)
{
    const QString volume = DriveOfPath(path).root;
    return !volume.isEmpty()
        && (volume == DriveOfPath(QStringLiteral("/")).root || volume == DriveOfPath(QDir::homePath()).root);
}

Status FormatDrive(const QString& root)
{
    const QString component = QStringLiteral("Format");
    const DriveInfo drive = DriveOfPath(root);
    if (IsSystemVolume(root))
        return Status::failure(component, QStringLiteral("\"") + root + QStringLiteral("\" holds the running system and is not formatted."));
    if (!drive.device.startsWith(QLatin1String("/dev/")) || drive.root != root)
        return Status::failure(component, QStringLiteral("\"") + root + QStringLiteral("\" is not a drive that can be formatted."));
    ProgramLauncher& launcher = ProgramLauncher::instance();
    if (const QString disks = launcher.findProgram(QStringLiteral("gnome-disks")); !disks.isEmpty())
        return launcher.start(disks, {QStringLiteral("--block-device"), drive.device, QStringLiteral("--format-device")}, QString());
    if (const QString manager = launcher.findProgram(QStringLiteral("partitionmanager")); !manager.isEmpty())
        return launcher.start(manager, {drive.device}, QString());
    return Status::failure(component, QStringLiteral("No disk utility is installed to format drives (GNOME Disks or KDE Partition Manager)."));
}

QString NetworkDrivesUnavailableText()
{
    return QStringLiteral("Network drives are connected and disconnected with the desktop's own file manager "
                          "or the system's mount table (/etc/fstab).\r\nThis program lists them as drives once they are mounted.");
}
